#include "app/ValueBoxes.h"

#include "app/Qel2Dlg.h"
#include "model/Attractor.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace {
template <int N> PARAMETER& Param(CAttractor& a) {
    return a.m_param[N];
}
PARAMETER& InitX(CAttractor& a) {
    return a.m_initX;
}
PARAMETER& InitY(CAttractor& a) {
    return a.m_initY;
}
PARAMETER& InitZ(CAttractor& a) {
    return a.m_initZ;
}
PARAMETER& Variation(CAttractor& a) {
    return a.m_variation;
}
PARAMETER& Iteration(CAttractor& a) {
    return a.m_iteration;
}
PARAMETER& Zoom(CAttractor& a) {
    return a.m_zoom;
}
} // namespace

const CValueBox kValueBoxes[13] = {
    {EDIT_VARIATION, IDC_VARIATION, IDS_VARIATION_NUMBER, IDS_VARIATION_NUMBER, false, Variation,
     &CQel2Dlg::m_strVariation},
    {EDIT_ITERATION, IDC_ITERATION, IDS_ITERATION_NUMBER, IDS_ITERATION_NUMBER, true, Iteration,
     nullptr},
    {EDIT_A, IDC_PARAM_A, IDS_INERTION, IDS_PARAMETER_A, false, Param<0>, nullptr},
    {EDIT_A + 1, IDC_PARAM_B, IDS_PRODUCTION, IDS_PARAMETER_B, false, Param<1>, nullptr},
    {EDIT_A + 2, IDC_PARAM_C, IDS_PRINTING, IDS_PARAMETER_C, false, Param<2>, nullptr},
    {EDIT_A + 3, IDC_PARAM_D, IDS_ADAPTATION, IDS_PARAMETER_D, false, Param<3>, nullptr},
    {EDIT_A + 4, IDC_PARAM_E, IDS_INDEXATION, IDS_PARAMETER_E, false, Param<4>, nullptr},
    {EDIT_A + 5, IDC_PARAM_F, IDS_UNEMPLOY, IDS_PARAMETER_F, false, Param<5>, nullptr},
    {EDIT_A + 6, IDC_PARAM_G, IDS_INTEREST, IDS_PARAMETER_G, false, Param<6>, nullptr},
    {EDIT_X, IDC_INIT_X, IDS_X_STARTING_POINT, IDS_X_STARTING_POINT, false, InitX,
     &CQel2Dlg::m_strX},
    {EDIT_Y, IDC_INIT_Y, IDS_Y_STARTING_POINT, IDS_Y_STARTING_POINT, false, InitY,
     &CQel2Dlg::m_strY},
    {EDIT_Z, IDC_INIT_Z, IDS_Z_STARTING_POINT, IDS_Z_STARTING_POINT, false, InitZ,
     &CQel2Dlg::m_strZ},
    {EDIT_ZOOM, IDC_ZOOM, 0, 0, false, Zoom, &CQel2Dlg::m_strZoom},
};

QString* BoundText(CQel2Dlg& dlg, const CValueBox& box) {
    if (box.bInteger)
        return nullptr;
    return box.pText ? &(dlg.*box.pText) : &dlg.m_strParam[box.nEdit - EDIT_A];
}

#include "app/ValueBoxes.h"

#include "model/Attractor.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <cstdio>

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
    {IDC_VARIATION, -1, IDS_VARIATION_NUMBER, IDS_VARIATION_NUMBER, CValueBox::Trimmed, Variation},
    {IDC_ITERATION, -1, IDS_ITERATION_NUMBER, IDS_ITERATION_NUMBER, CValueBox::Whole, Iteration},
    {IDC_PARAM_A, 0, IDS_INERTION, IDS_PARAMETER_A, CValueBox::Trimmed, Param<0>},
    {IDC_PARAM_B, 1, IDS_PRODUCTION, IDS_PARAMETER_B, CValueBox::Trimmed, Param<1>},
    {IDC_PARAM_C, 2, IDS_PRINTING, IDS_PARAMETER_C, CValueBox::Trimmed, Param<2>},
    {IDC_PARAM_D, 3, IDS_ADAPTATION, IDS_PARAMETER_D, CValueBox::Trimmed, Param<3>},
    {IDC_PARAM_E, 4, IDS_INDEXATION, IDS_PARAMETER_E, CValueBox::Trimmed, Param<4>},
    {IDC_PARAM_F, 5, IDS_UNEMPLOY, IDS_PARAMETER_F, CValueBox::Trimmed, Param<5>},
    {IDC_PARAM_G, 6, IDS_INTEREST, IDS_PARAMETER_G, CValueBox::Trimmed, Param<6>},
    {IDC_INIT_X, 7, IDS_X_STARTING_POINT, IDS_X_STARTING_POINT, CValueBox::Trimmed, InitX},
    {IDC_INIT_Y, 8, IDS_Y_STARTING_POINT, IDS_Y_STARTING_POINT, CValueBox::Trimmed, InitY},
    {IDC_INIT_Z, 9, IDS_Z_STARTING_POINT, IDS_Z_STARTING_POINT, CValueBox::Trimmed, InitZ},
    {IDC_ZOOM, -1, 0, 0, CValueBox::Fixed2, Zoom},
};

QString CValueBox::Text(double value) const {
    if (eText == Whole) // as the unsigned number Run reads
        return QString::number(static_cast<uint32_t>(static_cast<int64_t>(value)));
    char buf[512];
    std::snprintf(buf, sizeof buf, eText == Fixed2 ? "%.2f" : "%8f", value);
    QString t = QString::fromLatin1(buf);
    if (eText == Fixed2 || !t.contains('.'))
        return t;
    int i = t.size() - 1;
    while (i >= 0 && t[i] == '0')
        t[i--] = ' ';
    if (i >= 0 && t[i] == '.')
        t[i] = ' ';
    return t;
}

double CValueBox::Stored(CAttractor& a) const {
    if (eText == Whole)
        return static_cast<long_PARAM&>(Parameter(a)).m_stored;
    return static_cast<double_PARAM&>(Parameter(a)).m_stored;
}

const CValueBox* ValueBoxOf(int id) {
    for (const CValueBox& box : kValueBoxes)
        if (box.nId == id)
            return &box;
    return nullptr;
}

const CValueBox* RowValueBox(int row) {
    for (const CValueBox& box : kValueBoxes)
        if (box.nRow == row)
            return &box;
    return nullptr;
}

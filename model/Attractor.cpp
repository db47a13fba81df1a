#include "model/Attractor.h"

#include "model/AttractorKinds.h"
#include "platform/ModulePath.h"

#include <new>

namespace {
template <std::size_t N> void CopyText(char (&dst)[N], const char* src) {
    std::strncpy(dst, src ? src : "", N - 1);
    dst[N - 1] = '\0';
}
} // namespace

CAttractor::CAttractor(const char* name, const char* about, const char* axisX, const char* axisY,
                       const char* axisZ, int16_t attr0, int16_t attr1, int16_t attr2,
                       int16_t attr3)
    : m_attr{attr0, attr1, attr2, attr3} {
    CopyText(m_szName, name);
    CopyText(m_szAbout, about);
    CopyText(m_szAxisX, axisX);
    CopyText(m_szAxisY, axisY);
    CopyText(m_szAxisZ, axisZ);
    static const char* const names[7] = {"A", "B", "C", "D", "E", "F", "G"};
    static const char* const symbols[7] = {"a", "b", "c", "d", "e", "f", "g"};
    for (int i = 0; i < 7; ++i)
        m_param[i].Describe(names[i], symbols[i], "");
    m_initX.Describe("Initial Condition at X", "X", "");
    m_initY.Describe("Initial Condition at Y", "Y", "");
    m_initZ.Describe("Initial Condition at Z", "Z", "");
    m_variation.Describe("Variation Number", "v", "");
    m_iteration.Describe("Iteration Number", "r", "");
    m_zoom.Describe("Zoom", "", "");
    m_strSettingsPath = platform::GetModuleDirectory() + "Attractors.ini";
}

const char* AttractorKindName(int index) {
    static const char* const names[ATTRACTOR_COUNT] = {"Henon",    "Ikeda",   "Lorenz",
                                                       "Pickover", "Rossler", "Sorvan"};
    return index >= 0 && index < ATTRACTOR_COUNT ? names[index] : nullptr;
}

CAttractor* CreateAttractor(int index) {
    const char* about = "about text here";
    switch (index) {
    case 0:
        return new (std::nothrow) CAttractorHenon("Henon", about, "X", "Y", "Z", -1, -1, 0, -1);
    case 1:
        return new (std::nothrow) CAttractorIkeda("Ikeda", about, "X", "Y", "Z", -1, -1, 0, -1);
    case 2:
        return new (std::nothrow) CAttractorLorenz("Lorenz", about, "X", "Y", "Z", -1, -1, 0, -1);
    case 3:
        return new (std::nothrow)
            CAttractorPickover("Pickover", about, "X", "Y", "Z", -1, -1, 0, -1);
    case 4:
        return new (std::nothrow) CAttractorRossler("Rossler", about, "X", "Y", "Z", -1, -1, 0, -1);
    case 5:
        return new (std::nothrow) CAttractorSorvan(
            "Sorvan", about, "X - Output(Q)", "Y - Money (M)", "Z - Pricing (P)", -1, -1, 0, -1);
    default:
        return nullptr;
    }
}

#include "model/Attractor.h"

#include "model/AttractorKinds.h"
#include "model/KindTable.h"
#include "platform/ModulePath.h"

#include <cstring>
#include <new>

namespace {
template <std::size_t N> void CopyText(char (&dst)[N], const char* src) {
    std::strncpy(dst, src ? src : "", N - 1);
    dst[N - 1] = '\0';
}
} // namespace

CAttractor::CAttractor(int kind) {
    const qel::CKindInfo& info = qel::KindInfo(kind);
    CopyText(m_szAxisX, info.szAxes[0]);
    CopyText(m_szAxisY, info.szAxes[1]);
    CopyText(m_szAxisZ, info.szAxes[2]);
    m_strSettingsPath = platform::GetProgramFilePath("Attractors.ini");
}

const char* AttractorKindName(int index) {
    return qel::IsKind(index) ? qel::KindInfo(index).szName : nullptr;
}

CAttractor* CreateAttractor(int index) {
    switch (index) {
    case 0:
        return new (std::nothrow) CAttractorHenon;
    case 1:
        return new (std::nothrow) CAttractorIkeda;
    case 2:
        return new (std::nothrow) CAttractorLorenz;
    case 3:
        return new (std::nothrow) CAttractorPickover;
    case 4:
        return new (std::nothrow) CAttractorRossler;
    case 5:
        return new (std::nothrow) CAttractorSorvan;
    default:
        return nullptr;
    }
}

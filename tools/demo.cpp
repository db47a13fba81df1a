// Loads every kind from the shipped settings and prints what it loaded.
#include "model/Attractor.h"

#include <cstdio>
#include <memory>

int main() {
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        a->LoadSettings();
        std::printf("%-9s zoom %.3f  step %g  points %d  colour threshold %d\n", a->GetName(),
                    a->m_zoom.m_value, a->m_variation.m_value, a->m_iteration.m_value,
                    a->m_nStartColorChangeIter);
        for (int i = 0; i < 7; ++i)
            if (a->m_param[i].m_bInUse)
                std::printf("  %c = %g  (%g .. %g)\n", 'a' + i, a->m_param[i].m_value,
                            a->m_param[i].m_lower, a->m_param[i].m_upper);
        std::printf("  start (%g, %g, %g)\n  %s\n  %s\n  %s\n", a->m_initX.m_value,
                    a->m_initY.m_value, a->m_initZ.m_value, a->m_strEqX.c_str(),
                    a->m_strEqY.c_str(), a->m_strEqZ.c_str());
    }
    return 0;
}

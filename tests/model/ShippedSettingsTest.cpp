#include "model/Attractor.h"

#include <gtest/gtest.h>
#include <memory>

// The settings file beside the executable is the one the program ships.
TEST(ShippedSettings, EveryKindLoadsWithValuesInsideTheirLimits) {
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        a->LoadSettings();
        SCOPED_TRACE(a->GetName());
        EXPECT_TRUE(a->m_variation.m_lower == 0.0001 && a->m_variation.m_upper == 0.1);
        EXPECT_TRUE(a->m_iteration.m_lower == 1 && a->m_iteration.m_upper == 10000000);
        EXPECT_TRUE(a->m_iteration.IsWithinLimits(a->m_iteration.m_value));
        EXPECT_TRUE(a->m_zoom.m_value > 0.0 && a->m_zoom.IsWithinLimits(a->m_zoom.m_value));
        EXPECT_TRUE(a->m_variation.IsWithinLimits(a->m_variation.m_value));
        int nUsed = 0;
        for (const double_PARAM& p : a->m_param)
            if (p.m_bInUse) {
                ++nUsed;
                EXPECT_TRUE(p.IsWithinLimits(p.m_value)) << &p - a->m_param;
            }
        EXPECT_GE(nUsed, k == SORVAN_KIND ? 7 : 3); // the economic model uses all seven
        for (const double_PARAM* p : {&a->m_initX, &a->m_initY, &a->m_initZ})
            EXPECT_TRUE(p->m_bInUse && p->IsWithinLimits(p->m_value));
        EXPECT_FALSE(a->m_strEqX.empty() || a->m_strEqZ.empty());
        EXPECT_LT(a->m_nStartColorChangeIter, a->m_iteration.m_value);
    }
}

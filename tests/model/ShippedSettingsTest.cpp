#include "model/Attractor.h"

#include <gtest/gtest.h>
#include <memory>

// The settings file beside the executable is the one the program ships.
TEST(ShippedSettings, EveryKindLoadsWithValuesInsideTheirLimits) {
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        a->LoadSettings();
        SCOPED_TRACE(a->GetName());
        EXPECT_EQ(a->m_variation.m_lower, 0.0001);
        EXPECT_EQ(a->m_variation.m_upper, 0.1);
        EXPECT_EQ(a->m_iteration.m_lower, 1);
        EXPECT_EQ(a->m_iteration.m_upper, 10000000);
        EXPECT_TRUE(a->m_variation.IsWithinLimits(a->m_variation.m_value));
        EXPECT_TRUE(a->m_iteration.IsWithinLimits(a->m_iteration.m_value));
        EXPECT_TRUE(a->m_zoom.IsWithinLimits(a->m_zoom.m_value));
        EXPECT_GT(a->m_zoom.m_value, 0.0);
        int used = 0;
        for (const double_PARAM& p : a->m_param)
            if (p.m_bInUse) {
                ++used;
                EXPECT_TRUE(p.IsWithinLimits(p.m_value));
            }
        EXPECT_GE(used, 3);
        for (const double_PARAM* p : {&a->m_initX, &a->m_initY, &a->m_initZ}) {
            EXPECT_TRUE(p->m_bInUse);
            EXPECT_TRUE(p->IsWithinLimits(p->m_value));
        }
        EXPECT_FALSE(a->m_strEqX.empty());
        EXPECT_FALSE(a->m_strEqZ.empty());
        EXPECT_LT(a->m_nStartColorChangeIter, a->m_iteration.m_value);
    }
    std::unique_ptr<CAttractor> s(CreateAttractor(SORVAN_KIND));
    s->LoadSettings();
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(s->m_param[i].m_bInUse) << i;
    EXPECT_EQ(s->m_param[0].m_lower, 10.0);
    EXPECT_EQ(s->m_param[0].m_upper, 50.0);
    EXPECT_EQ(s->m_param[1].m_lower, 0.5);
    EXPECT_EQ(s->m_param[1].m_upper, 10.0);
}

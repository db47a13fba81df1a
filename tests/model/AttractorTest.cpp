#include "model/Attractor.h"
#include "platform/ModulePath.h"

#include <gtest/gtest.h>
#include <memory>

TEST(Attractor, FactoryMakesEachKindAndNothingElse) {
    const char* names[] = {"Henon", "Ikeda", "Lorenz", "Pickover", "Rossler", "Sorvan"};
    for (int k = 0; k < 6; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        ASSERT_TRUE(a) << k;
        EXPECT_STREQ(a->GetName(), names[k]);
        EXPECT_STREQ(a->m_szName, names[k]);
        EXPECT_STREQ(AttractorKindName(k), names[k]);
        EXPECT_STREQ(a->m_szAbout, "about text here");
        const bool sorvan = k == 5;
        EXPECT_STREQ(a->m_szAxisX, sorvan ? "X - Output(Q)" : "X");
        EXPECT_STREQ(a->m_szAxisY, sorvan ? "Y - Money (M)" : "Y");
        EXPECT_STREQ(a->m_szAxisZ, sorvan ? "Z - Pricing (P)" : "Z");
        EXPECT_EQ(a->m_strSettingsPath, platform::GetModuleDirectory() + "Attractors.ini");
    }
    EXPECT_EQ(CreateAttractor(6), nullptr);
    EXPECT_EQ(CreateAttractor(-1), nullptr);
    EXPECT_EQ(AttractorKindName(6), nullptr);
}

TEST(Attractor, FreshRecordHasNothingInUse) {
    std::unique_ptr<CAttractor> a(CreateAttractor(2));
    const PARAMETER* all[] = {&a->m_param[0], &a->m_param[1], &a->m_param[2], &a->m_param[3],
                              &a->m_param[4], &a->m_param[5], &a->m_param[6], &a->m_initX,
                              &a->m_initY,    &a->m_initZ,    &a->m_variation, &a->m_iteration,
                              &a->m_zoom};
    for (const PARAMETER* p : all) {
        EXPECT_EQ(p->m_bInUse, 0);
        EXPECT_EQ(p->m_bModified, 0);
        EXPECT_EQ(p->m_nUpperMode, 2);
        EXPECT_EQ(p->m_nLowerMode, 2);
    }
    EXPECT_EQ(a->m_iteration.GetType(), 1);
    EXPECT_EQ(a->m_zoom.GetType(), 2);
    EXPECT_STREQ(a->m_param[3].m_szSymbol, "d");
    EXPECT_STREQ(a->m_initY.m_szName, "Initial Condition at Y");
    EXPECT_EQ(a->m_param[6].m_value, 0.0);
    EXPECT_TRUE(a->m_strEqX.empty());
}

TEST(Parameter, SetStoresAnythingAndLimitModesDecideTheEdges) {
    long_PARAM p;
    p.Set(5, 1, 10);
    EXPECT_EQ(p.m_value, 5);
    EXPECT_EQ(p.m_stored, 5);
    EXPECT_EQ(p.m_lower, 1);
    EXPECT_EQ(p.m_upper, 10);
    EXPECT_EQ(p.m_bInUse, 1);
    p.Set(20, 1, 10);
    EXPECT_EQ(p.m_value, 20);
    EXPECT_FALSE(p.IsWithinLimits(p.m_value));
    EXPECT_TRUE(p.IsWithinLimits(1));
    EXPECT_TRUE(p.IsWithinLimits(10));
    EXPECT_FALSE(p.IsWithinLimits(0));
    p.m_nUpperMode = 0;
    p.m_nLowerMode = 1;
    EXPECT_FALSE(p.IsWithinLimits(10));
    EXPECT_FALSE(p.IsWithinLimits(1));
    EXPECT_TRUE(p.IsWithinLimits(9));

    double_PARAM d;
    d.Set(0.5, 0.5, 0.5);
    EXPECT_TRUE(d.IsWithinLimits(0.5));
    EXPECT_FALSE(d.IsWithinLimits(0.5000001));
    d.Set(1, 10, 0); // lower above upper: nothing is within
    EXPECT_FALSE(d.IsWithinLimits(5));
}

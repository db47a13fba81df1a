#include "model/Attractor.h"
#include "platform/ModulePath.h"

#include <gtest/gtest.h>
#include <memory>

TEST(Attractor, FactoryMakesEachKindInItsPlaceAndNothingElse) {
    // The index is the kind's place in menus and its settings section.
    const char* names[] = {"Henon", "Ikeda", "Lorenz", "Pickover", "Rossler", "Sorvan"};
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        ASSERT_TRUE(a) << k;
        EXPECT_STREQ(a->GetName(), names[k]);
        EXPECT_STREQ(AttractorKindName(k), names[k]);
        EXPECT_EQ(a->m_strSettingsPath, platform::GetModuleDirectory() + "Attractors.ini");
        // Nothing is in use before the settings are read.
        EXPECT_FALSE(a->m_param[0].m_bInUse || a->m_initX.m_bInUse || a->m_iteration.m_bInUse);
    }
    for (int k : {-1, int{ATTRACTOR_COUNT}})
        EXPECT_TRUE(!CreateAttractor(k) && !AttractorKindName(k)) << k;
}

TEST(Parameter, SetStoresAnythingAndLimitModesDecideTheEdges) {
    long_PARAM p;
    p.Set(20, 1, 10); // outside its limits, still stored
    EXPECT_TRUE(p.m_value == 20 && p.m_stored == 20 && p.m_lower == 1 && p.m_upper == 10);
    EXPECT_TRUE(p.m_bInUse);
    // Mode 2 allows the limit itself, any other mode only what lies strictly inside.
    const struct {
        int nUpperMode, nLowerMode, v;
        bool bWithin;
    } cases[] = {{2, 2, 20, false}, {2, 2, 10, true}, {2, 2, 1, true}, {2, 2, 0, false},
                 {0, 1, 10, false}, {0, 1, 1, false}, {0, 1, 9, true}};
    for (const auto& c : cases) {
        p.m_nUpperMode = c.nUpperMode;
        p.m_nLowerMode = c.nLowerMode;
        EXPECT_EQ(p.IsWithinLimits(c.v), c.bWithin) << c.nUpperMode << c.nLowerMode << c.v;
    }
    double_PARAM d;
    d.Set(0.5, 0.5, 0.5);
    EXPECT_TRUE(d.IsWithinLimits(0.5) && !d.IsWithinLimits(0.5000001));
    d.Set(1, 10, 0); // lower above upper: nothing is within
    EXPECT_FALSE(d.IsWithinLimits(5));
}

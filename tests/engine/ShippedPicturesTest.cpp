#include "countries/CountryPresets.h"
#include "countries/XmlDocument.h"
#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"

#include <QRect>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {
// The plot frame of the main window, and the border a default picture keeps free.
constexpr int kWidth = 591;
constexpr int kHeight = 515;
constexpr int kMargin = 10;

struct PlaneRun {
    bool finite = true;
    int outside = 0; // points drawn into the border or beyond the frame
    QRect box;       // of the points inside the frame
    int crossings = 0;
};

// One pass of the plane as the canvas runs it: the starting point and m_nIterations steps.
PlaneRun RunPlane(CAttractor& a, int plane) {
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    p.SetAttractor(&a);
    CPlaneLane lane = p.StartLane(plane);
    PlaneRun r;
    auto add = [&](int32_t col, int32_t row) {
        // 64-bit, so a saturated offset cannot wrap back into the frame.
        const int64_t x = kWidth / 2 + int64_t{col}, y = kHeight / 2 - int64_t{row};
        if (x < kMargin || x >= kWidth - kMargin || y < kMargin || y >= kHeight - kMargin) {
            ++r.outside;
            return;
        }
        r.box |= QRect(int(x), int(y), 1, 1);
    };
    add(lane.m_oldCol, lane.m_oldRow);
    lane.m_bColorChanges = true; // count the crossings even where colours stay
    p.RunPass(
        [&](double x, double y, double z) {
            r.finite = r.finite && std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
            const int32_t index = lane.m_nColorIndex;
            int32_t col, row;
            lane.Take(x, y, z, col, row);
            r.crossings += lane.m_nColorIndex != index;
            add(col, row);
        },
        [&] { return r.finite; });
    return r;
}
} // namespace

// The defaults of every kind must draw a whole attractor in each plane: finite, inside the
// frame, big enough to see and crossing the centre line so that its colours change.
TEST(ShippedPictures, EveryKindFillsEachPlaneWithoutLeavingIt) {
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        a->LoadSettings();
        SCOPED_TRACE(a->GetName());
        ASSERT_GE(a->m_iteration.m_value, 10000) << "settings file missing beside the test?";
        EXPECT_LE(a->m_iteration.m_value, 50000); // a Run stays quick
        // The first Run after start-up raises no message.
        for (const double_PARAM* p : {&a->m_variation, &a->m_initX, &a->m_initY, &a->m_initZ})
            EXPECT_TRUE(p->m_bInUse && p->IsWithinLimits(p->m_value));
        for (const double_PARAM& p : a->m_param)
            EXPECT_TRUE(!p.m_bInUse || p.IsWithinLimits(p.m_value)) << &p - a->m_param;
        EXPECT_FALSE(a->m_strEqX.empty() || a->m_strEqZ.empty());
        int colouredPlanes = 0;
        for (int plane = 0; plane < 4; ++plane) {
            SCOPED_TRACE(testing::Message() << "plane " << plane);
            const PlaneRun r = RunPlane(*a, plane);
            EXPECT_TRUE(r.finite);
            EXPECT_EQ(r.outside, 0);
            const int w = r.box.width() - 1, h = r.box.height() - 1;
            EXPECT_TRUE(w >= 0.4 * kWidth || h >= 0.4 * kHeight) << w << " x " << h;
            if (r.crossings >= 2)
                ++colouredPlanes;
        }
        EXPECT_TRUE(a->m_iteration.m_value <= a->m_nStartColorChangeIter || colouredPlanes >= 3);
    }
}

// Every shipped country draws inside the economic model's picture too, with values inside its
// limits, so that the first Run after start-up raises no message.
TEST(ShippedPictures, EveryCountryStaysInsideThePlotAndItsLimits) {
    CXmlDocument doc;
    ASSERT_EQ(doc.Load("countries.xml"), 1);
    const std::vector<std::string> names = CountryNames(doc);
    ASSERT_GE(names.size(), 8u);
    EXPECT_EQ(std::count(names.begin(), names.end(), "Qelland"), 1);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::unique_ptr<CAttractor> a(CreateAttractor(SORVAN_KIND));
        a->LoadSettings();
        ASSERT_TRUE(ApplyCountryToAttractor(doc, name, *a));
        for (int i = 0; i < 7; ++i)
            EXPECT_TRUE(a->m_param[i].IsWithinLimits(a->m_param[i].m_value)) << i;
        for (int plane = 0; plane < 4; ++plane) {
            const PlaneRun r = RunPlane(*a, plane);
            EXPECT_TRUE(r.finite) << plane;
            EXPECT_EQ(r.outside, 0) << plane;
        }
    }
}

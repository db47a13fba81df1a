#include "../support/TestRecord.h"
#include "engine/TrajectoryPlotter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct Fixture {
    std::unique_ptr<CAttractor> a = TestRecord();
    CTrajectoryPlotter p;
    Fixture() {
        p.Attach(nullptr, 1);
        p.SetAttractor(a.get());
    }
};
} // namespace

TEST(PlotterCore, ColumnsAndRowsForEachPlaneIncludingNonFiniteAndHuge) {
    Fixture f;
    f.a->m_center[1] = {1, 5};
    f.a->m_center[2] = {3, -5};
    f.a->m_center[3] = {0, 0};
    const int32_t kMax = INT32_MAX, kNo = CTrajectoryPlotter::kNoPixel;
    const struct {
        double zoom;
        int plane;
        double x, y, z;
        int32_t col, row;
    } cases[] = {
        {2, 0, 11, -19, 0, 22, -38},    // drawn at (W/2 + 22, H/2 + 38)
        {2, 2, 100, 1.2, -5.7, -3, -1}, // toward zero: trunc(-3.6)
        {2, 7, 1, 2, 3, 0, 0},          // no such plane
        {1, 3, 0, 0, 1, 0, 0},          // cos2 slightly negative, trunc(0.99999...)
        {0, 0, 1e6, -1e6, 0, 0, 0},
        {100000, 0, NAN, NAN, 0, kNo, kNo},
        {100000, 0, INFINITY, 1e300, 0, kMax, kMax},
        {100000, 0, -INFINITY, 0, 0, -kMax, 0},
        {100000, 0, 21475.0, -21474.8, 0, kMax, -2147480000},
    };
    for (const auto& k : cases) {
        f.a->m_zoom.Set(k.zoom, 0, 100000);
        f.p.BeginPass(k.plane < 4 ? k.plane : 0);
        EXPECT_EQ(f.p.Column(k.plane, k.x, k.y, k.z), k.col) << k.plane << " " << k.x;
        EXPECT_EQ(f.p.Row(k.plane == 7 ? -1 : k.plane, k.x, k.y, k.z), k.row) << k.plane;
    }
    EXPECT_EQ(TruncToOffset(2147483646.9), 2147483646);
}

// The rule as every pass runs it: the lane's Take, with column = trunc(x) here.
TEST(PlotterCore, CrossingRuleAndColourCycle) {
    Fixture f;
    f.a->m_zoom.Set(1, 0, 100000);
    f.a->m_iteration.Set(1, 0, 10);
    f.a->m_nStartColorChangeIter = 0;
    CPlaneLane lane = f.p.StartLane(0);
    ASSERT_TRUE(lane.m_bColorChanges);
    const struct {
        int32_t from, to;
        bool crosses;
    } moves[] = {{0, 0, false}, {0, 5, true},  {0, -1, true}, {3, 4, false},
                 {3, 0, false}, {3, -2, true}, {-3, 1, true}, {-3, -1, false}};
    int32_t column, row;
    for (const auto& m : moves) {
        lane.m_oldCol = m.from;
        const int32_t before = lane.m_nColorIndex;
        lane.Take(m.to + 0.5 * (m.to > 0) - 0.5 * (m.to < 0), 0, 0, column, row);
        EXPECT_EQ(column, m.to);
        EXPECT_EQ(lane.m_nColorIndex != before, m.crosses) << m.from << " to " << m.to;
        EXPECT_EQ(lane.m_oldCol, m.to);
    }
    lane.m_nColorIndex = -1;
    for (int i = 0; i < 14; ++i) {
        lane.Take(i % 2 ? -1 : 1, 0, 0, column, row);       // crosses each time
        EXPECT_EQ(lane.m_color, f.p.m_colors[i % 13]) << i; // the fourteenth change wraps
        EXPECT_EQ(lane.m_pixel, PixelFromColorRef(lane.m_color));
    }
    EXPECT_EQ(f.p.m_colors[0], 0xC700A1u);
    EXPECT_EQ(f.p.m_colors[2], RGB(31, 61, 250));
    EXPECT_EQ(f.p.m_colors[12], 0x6300DCu);
    // Colour changes for the whole pass or for none of it.
    f.a->m_nStartColorChangeIter = 1000;
    f.a->m_iteration.m_value = 1000;
    EXPECT_FALSE(f.p.StartLane(0).m_bColorChanges);
    f.a->m_iteration.m_value = 1001;
    lane = f.p.StartLane(0);
    EXPECT_TRUE(lane.m_bColorChanges);
    EXPECT_EQ(lane.m_color, CTrajectoryPlotter::kStartColor);
    EXPECT_EQ(lane.m_nColorIndex, -1);
}

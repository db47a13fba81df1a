#include "analysis/TimeEnvelope.h"
#include "analysis/Trajectory.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<CAttractor> Shipped(int kind) {
    std::unique_ptr<CAttractor> r(CreateAttractor(kind));
    r->LoadSettings();
    return r;
}
} // namespace

// Every view, from the whole run down to less than a point per column, holds exactly the range
// of the points in each column: bucket summaries and re-integrated cut buckets alike.
TEST(TimeEnvelope, ColumnsAreTheExactRangeOfTheirPointsAtEveryZoom) {
    for (int kind : {2, 5}) {
        auto r = Shipped(kind);
        const int64_t steps = 5000;
        const auto points = CollectTrajectory(*r, steps);
        CTimeEnvelope env;
        env.Build(*r, steps, 97); // 52 steps a bucket, cut by most edges
        ASSERT_EQ(env.Points(), steps + 1);
        r->m_param[0].m_value += 1; // the envelope keeps its own copy
        struct View {
            double lo, hi;
            int columns;
        } views[] = {{0, 5001, 300}, {-0.5, 5000.5, 7}, {1234.3, 1300.9, 400}, {4990, 6000, 50},
                     {-100, 3, 9},   {0, 5001, 5001},   {2500, 2500.5, 3}};
        for (const View& v : views) {
            SCOPED_TRACE(testing::Message()
                         << kind << " [" << v.lo << "," << v.hi << ") x " << v.columns);
            const auto cols = env.Columns(v.lo, v.hi, v.columns);
            std::vector<CEnvelopeColumn> want(v.columns);
            for (auto& c : want)
                for (int a = 0; a < 3; ++a)
                    c.loAt[a] = c.hiAt[a] = -1;
            for (int64_t i = 0; i <= steps; ++i) {
                const int64_t col = CTimeEnvelope::ColumnOf(i, v.lo, v.hi, v.columns);
                if (col < 0 || col >= v.columns || i < v.lo || i >= v.hi)
                    continue;
                CEnvelopeColumn& c = want[col];
                ++c.count;
                const double p[3] = {points[i].x, points[i].y, points[i].z};
                for (int a = 0; a < 3; ++a) {
                    if (c.loAt[a] < 0 || p[a] < c.lo[a])
                        c.lo[a] = p[a], c.loAt[a] = i;
                    if (c.hiAt[a] < 0 || p[a] > c.hi[a])
                        c.hi[a] = p[a], c.hiAt[a] = i;
                }
            }
            ASSERT_EQ(cols.size(), want.size());
            for (int c = 0; c < v.columns; ++c) {
                ASSERT_EQ(cols[c].count, want[c].count) << "column " << c;
                for (int a = 0; a < 3 && want[c].count; ++a) {
                    ASSERT_EQ(cols[c].lo[a], want[c].lo[a]) << "column " << c << " axis " << a;
                    ASSERT_EQ(cols[c].hi[a], want[c].hi[a]) << "column " << c << " axis " << a;
                    ASSERT_EQ(cols[c].loAt[a], want[c].loAt[a]) << "column " << c;
                    ASSERT_EQ(cols[c].hiAt[a], want[c].hiAt[a]) << "column " << c;
                }
            }
        }
        // Degenerate views are empty, not a crash.
        for (auto cols : {env.Columns(10, 10, 5), env.Columns(10, 0, 5), env.Columns(0, 10, 0),
                          env.Columns(6000, 7000, 5)})
            for (const auto& c : cols)
                EXPECT_EQ(c.count, 0);
    }
}

// The memory is bounded by the bucket count, whatever the number of points.
TEST(TimeEnvelope, BucketsGrowWithThePoints) {
    CTimeEnvelope env;
    env.Build(*Shipped(2), 1000000);
    EXPECT_EQ(env.BucketSize(), 16); // 1,000,001 points in at most 65,536 buckets
}

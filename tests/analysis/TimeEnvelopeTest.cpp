#include "ColumnCheck.h"

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
        const auto points = qel::CollectTrajectory(*r, steps);
        qel::CTimeEnvelope env;
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
            ExpectColumnsOfPoints(env.Columns(v.lo, v.hi, v.columns), points, v.lo, v.hi,
                                  v.columns);
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
    qel::CTimeEnvelope env;
    env.Build(*Shipped(2), 1000000);
    EXPECT_EQ(env.BucketSize(), 16); // 1,000,001 points in at most 65,536 buckets
}

#include "analysis/TrajectoryCsv.h"
#include "analysis/Trajectory.h"
#include "model/KindTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

// The lines are the pass's own points as printf prints them, over several blocks, for a
// range behind a prefix too; a failing sink or a cancel ends the write.
TEST(TrajectoryCsv, LinesAreThePointsOfThePass) {
    std::unique_ptr<CAttractor> r(CreateAttractor(5));
    r->LoadSettings();
    EXPECT_EQ(qel::TrajectoryCsvHeader(5), "step,time,x_output,y_money,z_pricing\n");
    EXPECT_EQ(qel::TrajectoryCsvHeader(2), "step,time,x,y,z\n");
    const int64_t steps = 40000;
    const auto points = qel::CollectTrajectory(*r, steps);
    const double step = qel::ModelTimePerStep(r->m_variation.m_value);
    auto expected = [&](int64_t first, int64_t last, const char* prefix) {
        std::string text;
        char line[256];
        for (int64_t i = first; i <= last; ++i) {
            std::snprintf(line, sizeof line, "%s%lld,%.17g,%.17g,%.17g,%.17g\n", prefix,
                          static_cast<long long>(i), i * step, points[i].x, points[i].y,
                          points[i].z);
            text += line;
        }
        return text;
    };
    std::string text, part;
    int64_t lastDone = 0;
    auto into = [](std::string& s) {
        return [&s](const char* t, size_t n) { return s.append(t, n), true; };
    };
    ASSERT_TRUE(qel::WriteTrajectoryCsv(
        *r, steps, 0, steps, "", into(text), [&](int64_t done, int64_t total) {
            EXPECT_TRUE(done >= lastDone && total == steps + 1) << done << " of " << total;
            lastDone = done;
            return true;
        }));
    EXPECT_EQ(lastDone, steps + 1);
    const std::string want = expected(0, steps, "");
    const auto diff = std::mismatch(text.begin(), text.end(), want.begin(), want.end());
    EXPECT_TRUE(text == want) << "first difference at byte " << diff.first - text.begin() << " of "
                              << text.size() << "/" << want.size();
    ASSERT_TRUE(qel::WriteTrajectoryCsv(*r, steps, 7, 9, "Qelland,", into(part)));
    EXPECT_EQ(part, expected(7, 9, "Qelland,"));
    int calls = 0;
    auto failing = [&](const char*, size_t) { return ++calls < 2; };
    EXPECT_FALSE(qel::WriteTrajectoryCsv(*r, steps, 0, steps, "", failing));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(qel::WriteTrajectoryCsv(*r, steps, 0, steps, "", into(part),
                                         [](int64_t, int64_t) { return false; }));
    EXPECT_NEAR(double(qel::EstimateTrajectoryCsvBytes(*r, steps)), double(text.size()),
                text.size() * 0.1);
}

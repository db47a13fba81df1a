#include "analysis/TrajectoryCsv.h"
#include "analysis/Trajectory.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <sstream>

TEST(TrajectoryCsv, NumbersPrintAsPrintfAndReadBackExactly) {
    const double cases[] = {0.0, -0.0, 0.1, 1.0 / 3.0, -2.5e-310, 1e300, 123456789012345678.0,
                            28.0, 0.03, std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (double v : cases) {
        char mine[40], theirs[40];
        *FormatCsvNumber(mine, v) = '\0';
        std::snprintf(theirs, sizeof theirs, "%.17g", v);
        EXPECT_STREQ(mine, theirs);
        const double back = std::strtod(mine, nullptr);
        EXPECT_TRUE(std::isnan(v) || std::memcmp(&back, &v, sizeof v) == 0) << mine;
    }
}

// The lines hold the pass's own points, in blocks of any size, a range of them, and stop
// when the sink fails or progress cancels.
TEST(TrajectoryCsv, LinesAreThePointsOfThePass) {
    std::unique_ptr<CAttractor> r(CreateAttractor(5));
    r->LoadSettings();
    EXPECT_EQ(TrajectoryCsvHeader(5), "step,time,x_output,y_money,z_pricing\n");
    EXPECT_EQ(TrajectoryCsvHeader(2), "step,time,x,y,z\n");
    const int64_t steps = 40000; // several blocks
    const auto points = CollectTrajectory(*r, steps);
    std::string text;
    int64_t lastDone = 0;
    ASSERT_TRUE(WriteTrajectoryCsv(
        *r, steps, 0, steps, "", [&](const char* t, size_t n) { return text.append(t, n), true; },
        [&](int64_t done, int64_t total) {
            EXPECT_GE(done, lastDone);
            EXPECT_EQ(total, steps + 1);
            lastDone = done;
            return true;
        }));
    EXPECT_EQ(lastDone, steps + 1);
    std::istringstream in(text);
    std::string line;
    int64_t i = 0;
    for (; std::getline(in, line); ++i) {
        long long step;
        double time, x, y, z;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lld,%lf,%lf,%lf,%lf", &step, &time, &x, &y, &z), 5);
        ASSERT_EQ(step, i);
        ASSERT_EQ(time, i * r->m_variation.m_value);
        ASSERT_EQ(x, points[i].x) << line;
        ASSERT_EQ(y, points[i].y) << line;
        ASSERT_EQ(z, points[i].z) << line;
    }
    EXPECT_EQ(i, steps + 1);
    // A range, behind a prefix: exactly the lines of the whole text.
    std::string part;
    WriteTrajectoryCsv(*r, steps, 7, 9, "Qelland,",
                       [&](const char* t, size_t n) { return part.append(t, n), true; });
    size_t from = 0;
    for (int k = 0; k < 7; ++k)
        from = text.find('\n', from) + 1;
    std::string want;
    for (size_t p = from, k = 0; k < 3; ++k) {
        const size_t e = text.find('\n', p) + 1;
        want += "Qelland," + text.substr(p, e - p);
        p = e;
    }
    EXPECT_EQ(part, want);
    int calls = 0;
    EXPECT_FALSE(WriteTrajectoryCsv(*r, steps, 0, steps, "", [&](const char*, size_t) {
        return ++calls < 2;
    }));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(WriteTrajectoryCsv(*r, steps, 0, steps, "", [](const char*, size_t) { return true; },
                                    [](int64_t, int64_t) { return false; }));
    const int64_t estimate = EstimateTrajectoryCsvBytes(*r, steps);
    EXPECT_NEAR(static_cast<double>(estimate), static_cast<double>(text.size()), text.size() * 0.1);
}

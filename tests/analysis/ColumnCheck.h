#pragma once
// The pixel columns of a view worked out from every point, and their comparison with what an
// envelope gives; shared by the analysis and the time-series window tests.
#include "analysis/TimeEnvelope.h"
#include "analysis/Trajectory.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

inline void ExpectColumnsOfPoints(const std::vector<qel::CEnvelopeColumn>& got,
                                  const std::vector<qel::CPoint3>& points, double lo, double hi,
                                  int columns) {
    std::vector<qel::CEnvelopeColumn> want(columns);
    for (int64_t i = 0; i < static_cast<int64_t>(points.size()); ++i) {
        const int64_t c = qel::CTimeEnvelope::ColumnOf(i, lo, hi, columns);
        if (c < 0 || c >= columns || i < lo || i >= hi)
            continue;
        const double p[3] = {points[i].x, points[i].y, points[i].z};
        for (int a = 0; a < 3; ++a) {
            if (!want[c].count || p[a] < want[c].lo[a])
                want[c].lo[a] = p[a], want[c].loAt[a] = i;
            if (!want[c].count || p[a] > want[c].hi[a])
                want[c].hi[a] = p[a], want[c].hiAt[a] = i;
        }
        ++want[c].count;
    }
    ASSERT_EQ(got.size(), want.size());
    for (int c = 0; c < columns; ++c) {
        ASSERT_EQ(got[c].count, want[c].count) << "column " << c;
        for (int a = 0; a < 3 && want[c].count; ++a) {
            const std::string at = "column " + std::to_string(c) + " axis " + std::to_string(a);
            ASSERT_TRUE(got[c].lo[a] == want[c].lo[a] && got[c].hi[a] == want[c].hi[a]) << at;
            ASSERT_TRUE(got[c].loAt[a] == want[c].loAt[a] && got[c].hiAt[a] == want[c].hiAt[a])
                << at;
        }
    }
}

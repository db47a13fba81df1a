#include "analysis/Trajectory.h"

#include <gtest/gtest.h>
#include <memory>

// The collected points are the record's own steps, bit for bit, for every kind.
TEST(Trajectory, InitialPointThenEachStepOfEvaluate) {
    for (int kind = 0; kind < ATTRACTOR_COUNT; ++kind) {
        std::unique_ptr<CAttractor> r(CreateAttractor(kind));
        r->LoadSettings();
        SCOPED_TRACE(r->GetName());
        const auto points = qel::CollectTrajectory(*r, 50);
        ASSERT_EQ(points.size(), 51u);
        double x = r->m_initX.m_value, y = r->m_initY.m_value, z = r->m_initZ.m_value;
        const double s = r->m_variation.m_value * 0.5;
        for (int i = 0; i <= 50; ++i) {
            ASSERT_EQ(points[i].x, x);
            ASSERT_EQ(points[i].y, y);
            ASSERT_EQ(points[i].z, z);
            double d[4][3], q[4][3];
            r->Evaluate(x, y, z, s, x, y, z, d[0][0], d[0][1], d[0][2], q[0][0], q[0][1], q[0][2]);
            for (int k = 1; k < 4; ++k)
                r->Evaluate(x, y, z, s, q[k - 1][0], q[k - 1][1], q[k - 1][2], d[k][0], d[k][1],
                            d[k][2], q[k][0], q[k][1], q[k][2]);
            x = (d[1][0] + d[0][0] + d[2][0] + d[3][0]) / 3.0 + x;
            y = (d[1][1] + d[0][1] + d[2][1] + d[3][1]) / 3.0 + y;
            z = (d[1][2] + d[0][2] + d[2][2] + d[3][2]) / 3.0 + z;
        }
    }
    EXPECT_EQ(qel::CollectTrajectory(*std::unique_ptr<CAttractor>(CreateAttractor(2)), -5).size(),
              1u);
}

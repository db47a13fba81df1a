#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct Fixture {
    std::unique_ptr<CAttractor> a{CreateAttractor(2)};
    CTrajectoryPlotter p;
    Fixture() {
        p.Attach(nullptr, 1);
        p.SetAttractor(a.get());
    }
};
} // namespace

TEST(PlotterCore, ProjectionSetUpUsesTruncatedDegreesAndTheConstant) {
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    EXPECT_EQ(p.m_cos[0], 0.7071065431725605);
    EXPECT_EQ(p.m_cos[1], 1.0);
    EXPECT_DOUBLE_EQ(p.m_cos[2], -6.73205103601583e-07);
    EXPECT_EQ(p.m_sin[0], 0.7071070192004544);
    EXPECT_EQ(p.m_sin[1], 0.0);
    EXPECT_EQ(p.m_sin[2], 0.9999999999997734);
    EXPECT_EQ(p.m_nColorIndex, -1);
    // Attach without set-up leaves the angles alone.
    p.Attach(nullptr, 0);
    EXPECT_EQ(p.m_cos[0], 0.7071065431725605);
}

TEST(PlotterCore, ColumnsAndRowsForEachPlane) {
    Fixture f;
    f.a->m_zoom.Set(2, 0, 100000);
    f.a->m_center[0] = {10, 20};
    f.p.BeginPass(0);
    EXPECT_EQ(f.p.Column(0, 11, 19, 0), 2);
    EXPECT_EQ(f.p.Row(0, 11, 19, 0), -2); // drawn at (W/2 + 2, H/2 + 2)
    f.a->m_center[1] = {1, 5};
    f.a->m_center[2] = {3, -5};
    EXPECT_EQ(f.p.Column(1, 2.75, 100, 7.9), 3);  // trunc(2 * 1.75)
    EXPECT_EQ(f.p.Row(1, 2.75, 100, 7.9), 5);     // trunc(2 * 2.9)
    EXPECT_EQ(f.p.Column(2, 100, 1.2, 0), -3);    // toward zero: trunc(-3.6)
    EXPECT_EQ(f.p.Row(2, 100, 1.2, -5.7), -1);
    EXPECT_EQ(f.p.Column(7, 1, 2, 3), 0);
    EXPECT_EQ(f.p.Row(-1, 1, 2, 3), 0);

    f.a->m_zoom.Set(1, 0, 100000);
    f.a->m_center[3] = {0, 0};
    f.p.BeginPass(3);
    EXPECT_EQ(f.p.Column(3, 1, 0, 0), 0);
    EXPECT_EQ(f.p.Row(3, 1, 0, 0), 0);
    EXPECT_EQ(f.p.Column(3, 0, 0, 1), 0); // cos2 is slightly negative
    EXPECT_EQ(f.p.Row(3, 0, 0, 1), 0);    // trunc(0.99999...)
    EXPECT_EQ(f.p.Column(3, 0, 3, 0), 3);
    EXPECT_EQ(f.p.Row(3, 0, 0, 2), 1);

    f.a->m_zoom.Set(0, 0, 100000);
    f.p.BeginPass(0);
    EXPECT_EQ(f.p.Column(0, 1e6, -1e6, 0), 0);
    EXPECT_EQ(f.p.Row(0, 1e6, -1e6, 0), 0);
}

TEST(PlotterCore, NonFiniteAndHugeCoordinatesHaveDefinedOffsets) {
    Fixture f;
    f.a->m_zoom.Set(100000, 0, 100000);
    f.p.BeginPass(0);
    EXPECT_EQ(f.p.Column(0, NAN, 0, 0), CTrajectoryPlotter::kNoPixel);
    EXPECT_EQ(f.p.Row(0, 0, NAN, 0), CTrajectoryPlotter::kNoPixel);
    EXPECT_EQ(f.p.Column(0, INFINITY, 0, 0), INT32_MAX);
    EXPECT_EQ(f.p.Column(0, -INFINITY, 0, 0), -INT32_MAX);
    EXPECT_EQ(f.p.Row(0, 0, 1e300, 0), INT32_MAX);
    EXPECT_EQ(f.p.Column(0, 21475.0, 0, 0), INT32_MAX);
    EXPECT_EQ(f.p.Column(0, -21474.8, 0, 0), -2147480000);
    EXPECT_EQ(TruncToOffset(2147483646.9), 2147483646);
}

TEST(PlotterCore, PassStartsFromInitialConditions) {
    Fixture f;
    f.a->m_zoom.Set(3, 0, 100000);
    f.a->m_initX.Set(2, -9, 9);
    f.a->m_initY.Set(-1, -9, 9);
    f.a->m_initZ.Set(4, -9, 9);
    f.a->m_variation.Set(0.01, 0, 1);
    f.a->m_iteration.Set(25, 1, 100);
    f.p.m_x = 99;
    f.p.BeginPass(1);
    EXPECT_EQ(f.p.m_x, 2.0);
    EXPECT_EQ(f.p.m_z, 4.0);
    EXPECT_EQ(f.p.m_oldCol, 6.0);
    EXPECT_EQ(f.p.m_oldRow, 12.0);
    EXPECT_EQ(f.p.m_step, 0.01);
    EXPECT_EQ(f.p.m_halfStep, 0.005);
    EXPECT_EQ(f.p.m_nIterations, 25);
}

TEST(PlotterCore, AdvanceIsFourHalfStepsWithEqualWeights) {
    Fixture f;
    for (int i = 0; i < 3; ++i)
        f.a->m_param[i].Set(std::vector<double>{28, 8.0 / 3.0, 10}[i], 0, 100);
    f.a->m_initX.Set(1, -30, 30);
    f.a->m_initY.Set(2, -30, 30);
    f.a->m_initZ.Set(3, -30, 30);
    const double h = 0.01;
    f.a->m_variation.Set(h, 0, 1);
    f.p.BeginPass(0);
    f.p.Advance();

    auto rhs = [](double x, double y, double z, double out[3]) {
        out[0] = (y - x) * 10;
        out[1] = (28 * x - x * z) - y;
        out[2] = x * y - (8.0 / 3.0) * z;
    };
    double P[3] = {1, 2, 3}, f1[3], f2[3], f3[3], f4[3], q[3];
    rhs(P[0], P[1], P[2], f1);
    for (int i = 0; i < 3; ++i)
        q[i] = P[i] + h / 2 * f1[i];
    rhs(q[0], q[1], q[2], f2);
    for (int i = 0; i < 3; ++i)
        q[i] = P[i] + h / 2 * f2[i];
    rhs(q[0], q[1], q[2], f3);
    for (int i = 0; i < 3; ++i)
        q[i] = P[i] + h / 2 * f3[i];
    rhs(q[0], q[1], q[2], f4);
    const double got[3] = {f.p.m_x, f.p.m_y, f.p.m_z};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(got[i], P[i] + h * (f1[i] + f2[i] + f3[i] + f4[i]) / 6, 1e-12) << i;
    // Not classical Runge-Kutta weights.
    const double rk4 = P[0] + h * (f1[0] + 2 * f2[0] + 2 * f3[0] + f4[0]) / 6;
    EXPECT_GT(std::fabs(got[0] - rk4), 1e-6);
}

TEST(PlotterCore, CrossingRuleAndColourCycle) {
    Fixture f;
    f.p.m_oldCol = 0;
    EXPECT_FALSE(f.p.CrossesCentre(0));
    EXPECT_TRUE(f.p.CrossesCentre(5)); // leaving column 0 counts
    EXPECT_TRUE(f.p.CrossesCentre(-1));
    f.p.m_oldCol = 3;
    EXPECT_FALSE(f.p.CrossesCentre(4));
    EXPECT_FALSE(f.p.CrossesCentre(0));
    EXPECT_TRUE(f.p.CrossesCentre(-2));
    f.p.m_oldCol = -3;
    EXPECT_TRUE(f.p.CrossesCentre(1));
    EXPECT_FALSE(f.p.CrossesCentre(-1));

    f.p.m_nColorIndex = -1;
    EXPECT_EQ(f.p.NextColor(), 0xC700A1u);
    for (int i = 1; i < 13; ++i)
        f.p.NextColor();
    EXPECT_EQ(f.p.m_nColorIndex, 12);
    EXPECT_EQ(f.p.NextColor(), 0xC700A1u); // the fourteenth change wraps
    EXPECT_EQ(f.p.m_colors[2], RGB(31, 61, 250));

    f.a->m_nStartColorChangeIter = 1000;
    f.p.m_nIterations = 1000;
    EXPECT_FALSE(f.p.ColorChangesEnabled());
    f.p.m_nIterations = 1001;
    EXPECT_TRUE(f.p.ColorChangesEnabled());
}

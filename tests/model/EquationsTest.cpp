#include "model/Attractor.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Out = std::array<double, 6>; // dx, dy, dz, then the new point

std::unique_ptr<CAttractor> Make(int kind, std::initializer_list<double> params) {
    std::unique_ptr<CAttractor> a(CreateAttractor(kind));
    int i = 0;
    for (double v : params)
        a->m_param[i++].Set(v, -1e9, 1e9);
    return a;
}

Out Eval(const CAttractor& a, double x0, double y0, double z0, double h, double X, double Y,
         double Z) {
    Out o{};
    a.Evaluate(x0, y0, z0, h, X, Y, Z, o[0], o[1], o[2], o[3], o[4], o[5]);
    return o;
}

TEST(Equations, LorenzRosslerHenonIkedaByHand) {
    auto lorenz = Make(2, {28, 8.0 / 3.0, 10});
    const double dy = (28.0 - 1.0 - 1.0) * 0.005, dz = (1.0 - 8.0 / 3.0) * 0.005;
    EXPECT_EQ(Eval(*lorenz, 1, 1, 1, 0.005, 1, 1, 1), (Out{0, dy, dz, 1, 1 + dy, 1 + dz}));
    // The base point only shifts the new point.
    EXPECT_EQ(Eval(*lorenz, 5, 6, 7, 0.005, 1, 1, 1), (Out{0, dy, dz, 5, 6 + dy, 7 + dz}));

    const Out r = Eval(*Make(4, {0.2, 0.3, 5.7}), 0, 0, 0, 1, 0, 0, 0);
    EXPECT_EQ(r, (Out{0, 0, 0.3, 0, 0, 0.3}));
    EXPECT_TRUE(std::signbit(r[0])); // (0 + 0) * -1 is -0

    // a X, d (Y - X X), (X + Y) / 5 + e
    const Out h = Eval(*Make(0, {1.5, 2.0, 3.0, 0.7, 0.25}), 0, 0, 0, 0.1, 2.0, 3.0, 0.0);
    EXPECT_EQ(h[0], (1.5 * 2.0) * 0.1);
    EXPECT_EQ(h[1], ((3.0 - 2.0 * 2.0) * 0.7) * 0.1);
    EXPECT_EQ(h[2], ((2.0 + 3.0) / 5.0 + 0.25) * 0.1);

    const Out i = Eval(*Make(1, {1.0, 0.9, 0.4, 6.0}), 0, 0, 0, 1, 1.0, 2.0, 0.0);
    EXPECT_EQ(i[0], (1.0 * 0.9) + 1.0);
    EXPECT_EQ(i[1], 2.0 * 0.9);
    EXPECT_EQ(i[2], 0.4 - 6.0 / ((1.0 + 1.0) + 4.0));
}

TEST(Equations, EconomicModelUsesBasePointZInTheMoneySine) {
    auto s = Make(5, {12, 1.5, 0.8, 3, 0.1, 0.2, 0.3});
    const double X = 0.5, Y = -0.4, Z = 1.1;
    const Out o = Eval(*s, 0.1, 0.2, 0.3, 0.01, X, Y, Z);
    EXPECT_EQ(o[0], (std::sin(Z) * (1.5 * Y) + std::cos(Z) * (X - 12 * Y)) * 0.01);
    EXPECT_EQ(o[1], (std::cos(Z) * (3 * Y) + std::sin(0.3) * (0.8 * Y + X)) * 0.01);
    EXPECT_EQ(o[2], (std::atan((((1 - 0.2) * Y) / (1 - 0.3)) * X) + 0.1 * Z) * 0.01);
    const Out other = Eval(*s, 0.1, 0.2, -2.0, 0.01, X, Y, Z);
    EXPECT_TRUE(other[0] == o[0] && other[1] != o[1] && other[2] == o[2]);

    // g = 1 divides by zero: atan of an infinite quotient, or NaN for 0/0.
    auto g1 = Make(5, {12, 1.5, 0.8, 3, 0.0, 0.2, 1.0});
    EXPECT_DOUBLE_EQ(Eval(*g1, 0, 0, 0, 1, 1.0, 1.0, 0.0)[2], M_PI / 2);
    EXPECT_TRUE(std::isnan(Eval(*g1, 0, 0, 0, 1, 1.0, 0.0, 0.0)[2]));
}

TEST(Equations, PickoverDividesBySineOfX) {
    auto p = Make(3, {2.24, 0.43, -0.65, -2.43, 1.0});
    const Out o = Eval(*p, 0, 0, 0, 0.01, 0.0, 0.5, 0.2);
    EXPECT_FALSE(std::isfinite(o[2]) || std::isfinite(o[5]));
    const Out q = Eval(*p, 0, 0, 0, 0.01, 1.0, 0.5, 0.2);
    EXPECT_EQ(q[2], (1.0 / std::sin(1.0)) * 0.01);
    EXPECT_EQ(q[0], (std::sin(2.24 * 1.0) - std::cos(0.43 * 0.5) * 0.2) * 0.01);
}

} // namespace

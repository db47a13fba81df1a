#include "model/Attractor.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct Out {
    double dx, dy, dz, nx, ny, nz;
};

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
    a.Evaluate(x0, y0, z0, h, X, Y, Z, o.dx, o.dy, o.dz, o.nx, o.ny, o.nz);
    return o;
}
} // namespace

TEST(Equations, LorenzByHand) {
    auto a = Make(2, {28, 8.0 / 3.0, 10});
    Out o = Eval(*a, 1, 1, 1, 0.005, 1, 1, 1);
    EXPECT_EQ(o.dx, 0.0);
    EXPECT_EQ(o.dy, (28.0 - 1.0 - 1.0) * 0.005);
    EXPECT_EQ(o.dz, (1.0 - 8.0 / 3.0) * 0.005);
    EXPECT_EQ(o.nx, 1.0);
    EXPECT_EQ(o.ny, 1.0 + o.dy);
    EXPECT_EQ(o.nz, 1.0 + o.dz);
    // The base point only shifts the new point.
    Out p = Eval(*a, 5, 6, 7, 0.005, 1, 1, 1);
    EXPECT_EQ(p.dy, o.dy);
    EXPECT_EQ(p.ny, 6.0 + o.dy);
}

TEST(Equations, RosslerHenonIkedaByHand) {
    auto r = Make(4, {0.2, 0.3, 5.7});
    Out o = Eval(*r, 0, 0, 0, 1, 0, 0, 0);
    EXPECT_EQ(o.dx, 0.0);
    EXPECT_TRUE(std::signbit(o.dx)); // (0 + 0) * -1 is -0
    EXPECT_EQ(o.dy, 0.0);
    EXPECT_EQ(o.dz, 0.3);

    auto h = Make(0, {1.5, 2.0, 3.0, 0.7, 0.25});
    Out q = Eval(*h, 0, 0, 0, 0.1, 2.0, 3.0, 0.0);
    EXPECT_EQ(q.dx, (1.5 * 2.0) * 0.1);             // a X
    EXPECT_EQ(q.dy, ((3.0 - 2.0 * 2.0) * 0.7) * 0.1); // d (Y - X X)
    EXPECT_EQ(q.dz, ((2.0 + 3.0) / 5.0 + 0.25) * 0.1);

    auto k = Make(1, {1.0, 0.9, 0.4, 6.0});
    Out i = Eval(*k, 0, 0, 0, 1, 1.0, 2.0, 0.0);
    EXPECT_EQ(i.dx, (1.0 * 0.9) + 1.0);
    EXPECT_EQ(i.dy, 2.0 * 0.9);
    EXPECT_EQ(i.dz, 0.4 - 6.0 / ((1.0 + 1.0) + 4.0));
}

TEST(Equations, EconomicModelUsesBasePointZInTheMoneySine) {
    auto s = Make(5, {12, 1.5, 0.8, 3, 0.1, 0.2, 0.3});
    Out o1 = Eval(*s, 0.1, 0.2, 0.3, 0.01, 0.5, -0.4, 1.1);
    Out o2 = Eval(*s, 0.1, 0.2, -2.0, 0.01, 0.5, -0.4, 1.1);
    EXPECT_EQ(o1.dx, o2.dx);
    EXPECT_EQ(o1.dz, o2.dz);
    EXPECT_NE(o1.dy, o2.dy);
    const double X = 0.5, Y = -0.4, Z = 1.1;
    EXPECT_EQ(o1.dx, (std::sin(Z) * (1.5 * Y) + std::cos(Z) * (X - 12 * Y)) * 0.01);
    EXPECT_EQ(o1.dy, (std::cos(Z) * (3 * Y) + std::sin(0.3) * (0.8 * Y + X)) * 0.01);
    EXPECT_EQ(o1.dz, (std::atan((((1 - 0.2) * Y) / (1 - 0.3)) * X) + 0.1 * Z) * 0.01);

    // g = 1 divides by zero: atan of an infinite quotient, or NaN for 0/0.
    auto g1 = Make(5, {12, 1.5, 0.8, 3, 0.0, 0.2, 1.0});
    Out inf = Eval(*g1, 0, 0, 0, 1, 1.0, 1.0, 0.0);
    EXPECT_DOUBLE_EQ(inf.dz, M_PI / 2);
    Out nan = Eval(*g1, 0, 0, 0, 1, 1.0, 0.0, 0.0);
    EXPECT_TRUE(std::isnan(nan.dz));
}

TEST(Equations, PickoverDividesBySineOfX) {
    auto p = Make(3, {2.24, 0.43, -0.65, -2.43, 1.0});
    Out o = Eval(*p, 0, 0, 0, 0.01, 0.0, 0.5, 0.2);
    EXPECT_FALSE(std::isfinite(o.dz));
    EXPECT_FALSE(std::isfinite(o.nz));
    Out q = Eval(*p, 0, 0, 0, 0.01, 1.0, 0.5, 0.2);
    EXPECT_EQ(q.dz, (1.0 / std::sin(1.0)) * 0.01);
    EXPECT_EQ(q.dx, (std::sin(2.24 * 1.0) - std::cos(0.43 * 0.5) * 0.2) * 0.01);
}

#include "../support/TestRecord.h"
#include "model/Attractor.h"
#include "model/Integrator.h"
#include "model/KindTable.h"
#include "model/VectorState.h"
#include "platform/ModulePath.h"

#include <array>
#if defined(__x86_64__)
#include <cpuid.h>
#endif
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

using Out = std::array<double, 6>; // dx, dy, dz, then the new point

Out Eval(const CAttractor& a, double z0, double h, double X, double Y, double Z) {
    Out o{};
    a.Evaluate(0.1, 0.2, z0, h, X, Y, Z, o[0], o[1], o[2], o[3], o[4], o[5]);
    return o;
}

// Each kind's rates written out by hand, at a point where no sine or cosine vanishes and the
// base point's z0 differs from Z.
TEST(Equations, EveryKindByHand) {
    const double X = 0.5, Y = -0.4, Z = 1.1, z0 = 0.3, h = 0.01, s = std::sin(Z), c = std::cos(Z);
    const struct {
        int kind;
        std::vector<double> p;
        double dx, dy, dz;
    } cases[] = {
        {0,
         {1.5, 2, 3, 0.7, 0.25},
         c * 1.5 * X - s * (Y - X * X) * 2,
         s * 3 * X + c * (Y - X * X) * 0.7,
         (X + Y) / 5 + 0.25},
        {1,
         {1, 0.9, 0.4, 6},
         (c * X - s * Y) * 0.9 + 1,
         (c * Y + s * X) * 0.9,
         0.4 - 6 / (X * X + 1 + Y * Y)},
        {2, {28, 8.0 / 3.0, 10}, (Y - X) * 10, 28 * X - X * Z - Y, X * Y - 8.0 / 3.0 * Z},
        {3,
         {2.24, 0.43, -0.65, -2.43, 1.5},
         std::sin(2.24 * X) - std::cos(0.43 * Y) * Z,
         std::sin(-0.65 * X) * Z - std::cos(-2.43 * Y),
         1.5 / std::sin(X)},
        {4, {0.2, 0.3, 5.7}, -(Y + Z), 0.2 * Y + X, (X - 5.7) * Z + 0.3},
        {5,
         {12, 1.5, 0.8, 3, 0.1, 0.2, 0.3},
         s * 1.5 * Y + c * (X - 12 * Y),
         c * 3 * Y + std::sin(z0) * (0.8 * Y + X),
         std::atan((1 - 0.2) * Y / (1 - 0.3) * X) + 0.1 * Z},
    };
    for (const auto& k : cases) {
        auto a = TestRecord(k.kind);
        for (std::size_t i = 0; i < k.p.size(); ++i)
            a->m_param[i].m_value = k.p[i];
        const Out o = Eval(*a, z0, h, X, Y, Z);
        EXPECT_DOUBLE_EQ(o[0], k.dx * h) << a->GetName();
        EXPECT_DOUBLE_EQ(o[1], k.dy * h) << a->GetName();
        EXPECT_DOUBLE_EQ(o[2], k.dz * h) << a->GetName();
        // The base point only shifts the new point.
        EXPECT_TRUE(o[3] == 0.1 + o[0] && o[4] == 0.2 + o[1] && o[5] == z0 + o[2]) << a->GetName();
    }
    // Pickover divides by sin(X), the economic model by 1 - g: no trap, just infinities.
    EXPECT_FALSE(std::isfinite(Eval(*TestRecord(3), 0, h, 0.0, Y, Z)[2]));
    auto g1 = TestRecord(5, 1, {12, 1.5, 0.8, 3, 0.0, 0.2, 1.0});
    EXPECT_DOUBLE_EQ(Eval(*g1, 0, 1, 1.0, 1.0, 0.0)[2], M_PI / 2);
    EXPECT_TRUE(std::isnan(Eval(*g1, 0, 1, 1.0, 0.0, 0.0)[2]));
}

} // namespace

TEST(Attractor, FactoryMakesEachKindInItsPlaceAndNothingElse) {
    // The index is the kind's place in menus and its settings section.
    const char* names[] = {"Henon", "Ikeda", "Lorenz", "Pickover", "Rossler", "Sorvan"};
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        ASSERT_TRUE(a) << k;
        EXPECT_STREQ(a->GetName(), names[k]);
        EXPECT_STREQ(AttractorKindName(k), names[k]);
        EXPECT_EQ(a->m_strSettingsPath, platform::GetModuleDirectory() + "Attractors.ini");
        // Nothing is in use before the settings are read.
        EXPECT_FALSE(a->m_param[0].m_bInUse || a->m_initX.m_bInUse || a->m_iteration.m_bInUse);
    }
    EXPECT_TRUE(!CreateAttractor(ATTRACTOR_COUNT) && !AttractorKindName(-1));
}

namespace {
// Mean number of steps between upward crossings of y = 0 over ten cycles after a transient,
// for a stepper that advances (x, y, z) by one step.
template <class StepFn> double CrossingPeriod(int64_t transient, StepFn step) {
    double p[3] = {1, 1, 1}, first = -1, last = 0;
    int crossings = 0;
    for (int64_t i = 0; crossings < 11; ++i) {
        const double y0 = p[1];
        step(p);
        if (i > transient && y0 < 0 && p[1] >= 0) {
            last = static_cast<double>(i) + y0 / (y0 - p[1]);
            first = first < 0 ? last : first;
            ++crossings;
        }
    }
    return (last - first) / 10;
}
} // namespace

// The drawing step's clock against the ODE itself: the period of Rossler's limit cycle (a = b =
// 0.2, c = 2.5) counted in drawing steps at the shipped Variation and turned into model time
// matches a textbook RK4 integration of dx = -(y + z), dy = x + a y, dz = b + z (x - c) to a
// tenth of a percent. A whole Variation per step would be half as long again.
TEST(ModelTime, RosslerPeriodAgreesWithTheEquations) {
    const double a = 0.2, b = 0.2, c = 2.5, dt = 1e-3;
    auto rates = [&](const double* q, double* r) {
        r[0] = -(q[1] + q[2]), r[1] = q[0] + a * q[1], r[2] = b + q[2] * (q[0] - c);
    };
    auto rk4 = [&](double* q) {
        double k[4][3], t[3];
        rates(q, k[0]);
        for (int s = 1; s < 4; ++s) {
            for (int j = 0; j < 3; ++j)
                t[j] = q[j] + k[s - 1][j] * dt * (s == 3 ? 1.0 : 0.5);
            rates(t, k[s]);
        }
        for (int j = 0; j < 3; ++j)
            q[j] += dt / 6 * (k[0][j] + 2 * k[1][j] + 2 * k[2][j] + k[3][j]);
    };
    const double reference = dt * CrossingPeriod(200000, rk4);
    EXPECT_NEAR(reference, 5.749, 0.01);
    auto r = TestRecord(4, 1, {a, b, c});
    r->m_variation.m_value = 0.01;
    const double steps = CrossingPeriod(30000, [&](double* q) {
        qel::Integrate(*r, q[0], q[1], q[2], 1, [](double, double, double) {});
    });
    EXPECT_NEAR(steps * qel::ModelTimePerStep(0.01) / reference, 1.0, 2e-3) << steps;
}

TEST(Parameter, SetStoresAnythingAndLimitModesDecideTheEdges) {
    long_PARAM p;
    p.Set(20, 1, 10); // outside its limits, still stored
    EXPECT_TRUE(p.m_value == 20 && p.m_stored == 20 && p.m_upper == 10 && p.m_bInUse);
    // Mode 2 allows the limit itself, any other mode only what lies strictly inside.
    const struct {
        int nUpperMode, nLowerMode, v;
        bool bWithin;
    } cases[] = {{2, 2, 20, false}, {2, 2, 10, true}, {2, 2, 1, true}, {2, 2, 0, false},
                 {0, 1, 10, false}, {0, 1, 1, false}, {0, 1, 9, true}};
    for (const auto& c : cases) {
        p.m_nUpperMode = c.nUpperMode;
        p.m_nLowerMode = c.nLowerMode;
        EXPECT_EQ(p.IsWithinLimits(c.v), c.bWithin) << c.nUpperMode << c.nLowerMode << c.v;
    }
    double_PARAM d;
    d.Set(0.5, 0.5, 0.5);
    EXPECT_TRUE(d.IsWithinLimits(0.5) && !d.IsWithinLimits(0.5000001));
    d.Set(1, 10, 0); // lower above upper: nothing is within
    EXPECT_FALSE(d.IsWithinLimits(5));
}

#if defined(__x86_64__)
// Whether the upper halves of the AVX registers are in use on this thread (XINUSE bit 2).
static bool UpperHalvesInUse() {
    unsigned lo, hi;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(1));
    return lo & 4;
}

// Threads start with their creator's registers, and Qt's GUI start leaves these halves in use:
// the drawing step's SSE code then runs six to nine times slower.
TEST(VectorState, CleanClearsTheUpperHalves) {
    unsigned eax, ebx, ecx, edx;
    if (!__builtin_cpu_supports("avx") || !__get_cpuid_count(0xd, 1, &eax, &ebx, &ecx, &edx) ||
        !(eax & 4))
        GTEST_SKIP() << "this processor does not say whether the AVX registers are in use";
    __asm__ volatile("vxorps %%ymm0, %%ymm0, %%ymm0\n\tvcmpeqps %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
    ASSERT_TRUE(UpperHalvesInUse());
    qel::CleanVectorState();
    EXPECT_FALSE(UpperHalvesInUse());
}
#endif

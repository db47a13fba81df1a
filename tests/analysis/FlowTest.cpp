#include "analysis/Flow.h"
#include "analysis/Lyapunov.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "Reference.h"

using namespace qel;

namespace {

// The shipped values of every kind and a point near its attractor.
struct CCase {
    int kind;
    CStepParams p;
    double s[3];
};
const CCase kCases[] = {
    {0, Params({1.19, 1.64, 2.65, -1.08, -0.03}), {0.11, -0.45, 14.36}},
    {1, Params({0.06, 1.73, 2.82, 5.45}), {-1.17, -0.99, 32.36}},
    {2, Params({28, 8.0 / 3, 10}), {1.5, -2, 20}},
    {3, Params({1.05, 2, -0.23, -2.37, 0.06}), {2.43, -5.37, -1.81}},
    {4, Params({0.2, 0.2, 5.7}), {1, -2, 0.5}},
    {5, Params({17.5, 6.8, 0.01, 1.2, -0.04, 0.3, 0.5}), {0.1828, 0.1141, -1.865}},
};

template <class F> void Each(F&& f) {
    for (const CCase& c : kCases) {
        SCOPED_TRACE(c.kind);
        WithKind(c.kind, [&](auto k) { f(c, decltype(k)::value); });
    }
}

// Central differences of a vector function of three variables.
void Numeric(const std::function<void(const double (&)[3], double (&)[3])>& f, const double (&s)[3],
             double (&J)[3][3]) {
    for (int c = 0; c < 3; ++c) {
        const double h = 1e-6 * std::max(1.0, std::fabs(s[c]));
        double up[3] = {s[0], s[1], s[2]}, down[3] = {s[0], s[1], s[2]}, fu[3], fd[3];
        up[c] += h;
        down[c] -= h;
        f(up, fu);
        f(down, fd);
        for (int r = 0; r < 3; ++r)
            J[r][c] = (fu[r] - fd[r]) / (2 * h);
    }
}

void ExpectClose(const double (&a)[3][3], const double (&b)[3][3], double tol) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(a[r][c], b[r][c], tol * std::max(1.0, std::fabs(b[r][c])))
                << "row " << r << " column " << c;
}

} // namespace

// Every kind's Jacobian against finite differences: of the flow (z0 = z), and of the drawing
// step's stage with its base point's z0 held and moved.
TEST(Flow, JacobiansOfEveryKindMatchFiniteDifferences) {
    Each([](const CCase& c, int K) {
        WithKind(K, [&](auto k) {
            constexpr int Kind = decltype(k)::value;
            double J[3][3], N[3][3];
            FieldJacobian<Kind>(c.p, c.s, J);
            Numeric([&](const double(&s)[3], double(&f)[3]) { Field<Kind>(c.p, s, f); }, c.s, N);
            ExpectClose(J, N, 1e-6);
            const double z0 = c.s[2] + 0.3;
            double S[3][3], dz0[3];
            CKindRates<Kind>::Jacobian(c.p, z0, c.s[0], c.s[1], c.s[2], S, dz0);
            Numeric(
                [&](const double(&s)[3], double(&f)[3]) {
                    CKindRates<Kind>::Rates(c.p, z0, 1.0, s[0], s[1], s[2], f[0], f[1], f[2]);
                },
                c.s, N);
            ExpectClose(S, N, 1e-6);
            const double h = 1e-6, s[3] = {c.s[0], c.s[1], c.s[2]};
            double fu[3], fd[3];
            CKindRates<Kind>::Rates(c.p, z0 + h, 1.0, s[0], s[1], s[2], fu[0], fu[1], fu[2]);
            CKindRates<Kind>::Rates(c.p, z0 - h, 1.0, s[0], s[1], s[2], fd[0], fd[1], fd[2]);
            for (int r = 0; r < 3; ++r)
                EXPECT_NEAR(dz0[r], (fu[r] - fd[r]) / (2 * h),
                            1e-6 * std::max(1.0, std::fabs(dz0[r])));
        });
    });
}

// The drawing step with tangent vectors moves the point bit for bit as the picture's step does,
// and the vectors as the step's derivative (finite differences of the step).
TEST(Flow, DrawnTangentIsThePicturesStepAndItsDerivative) {
    Each([](const CCase& c, int K) {
        WithKind(K, [&](auto k) {
            constexpr int Kind = decltype(k)::value;
            double x = c.s[0], y = c.s[1], z = c.s[2];
            double a = x, b = y, d = z;
            double v[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
            for (int i = 0; i < 50; ++i) {
                Step<Kind>(c.p, x, y, z);
                StepDrawnTangent<Kind, 3>(c.p, a, b, d, v);
            }
            EXPECT_EQ(a, x);
            EXPECT_EQ(b, y);
            EXPECT_EQ(d, z);
            double N[3][3];
            Numeric(
                [&](const double(&s)[3], double(&f)[3]) {
                    f[0] = s[0], f[1] = s[1], f[2] = s[2];
                    for (int i = 0; i < 50; ++i)
                        Step<Kind>(c.p, f[0], f[1], f[2]);
                },
                c.s, N);
            ExpectClose(v, N, 1e-4);
        });
    });
}

// The adaptive pair against an independent classical RK4 at a step of 1e-4, with the
// equations written here from the Equations box (the economic model's z0 is z).
TEST(Flow, AdaptivePairFollowsTheEquationsAsWrittenInTheEquationsBox) {
    struct {
        int kind;
        CStepParams p;
        double s[3];
        std::function<void(const double*, double*)> f;
    } const cases[] = {
        {2,
         Params({28, 8.0 / 3, 10}),
         {1, 1, 1},
         [](const double* s, double* f) {
             f[0] = 10 * (s[1] - s[0]);
             f[1] = 28 * s[0] - s[0] * s[2] - s[1];
             f[2] = s[0] * s[1] - 8.0 / 3 * s[2];
         }},
        {4,
         Params({0.2, 0.2, 5.7}),
         {1, 1, 0},
         [](const double* s, double* f) {
             f[0] = -(s[1] + s[2]);
             f[1] = s[0] + 0.2 * s[1];
             f[2] = 0.2 + s[2] * (s[0] - 5.7);
         }},
        {5,
         Params({17.5, 6.8, 0.01, 1.2, -0.04, 0.3, 0.5}),
         {0.1828, 0.1141, -1.865},
         [](const double* s, double* f) {
             const double x = s[0], y = s[1], z = s[2];
             f[0] = 6.8 * y * std::sin(z) + (x - 17.5 * y) * std::cos(z);
             f[1] = 1.2 * y * std::cos(z) + (0.01 * y + x) * std::sin(z);
             f[2] = std::atan((1 - 0.3) * x * y / (1 - 0.5)) - 0.04 * z;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        double ref[3] = {c.s[0], c.s[1], c.s[2]};
        ReferenceRk4(c.f, ref, 1e-4, 20000); // two units of model time
        for (double tol : {1e-6, 1e-10}) {
            double s[3] = {c.s[0], c.s[1], c.s[2]};
            ASSERT_TRUE(FlowFor(c.kind, c.p, s, 2.0, tol));
            for (int i = 0; i < 3; ++i)
                EXPECT_NEAR(s[i], ref[i], tol * 100 * std::max(1.0, std::fabs(ref[i])))
                    << "tolerance " << tol << " variable " << i;
        }
    }
}

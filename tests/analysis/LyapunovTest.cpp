#include "analysis/Lyapunov.h"
#include "analysis/Equilibria.h"
#include "analysis/Flow.h"
#include "analysis/GrowthWatch.h"

#include <cmath>
#include <gtest/gtest.h>

#include "Reference.h"

using namespace qel;

namespace {

const CStepParams kLorenz = Params({28, 8.0 / 3, 10}, 0.005);
const CStepParams kRossler = Params({0.2, 0.2, 5.7});
// The shipped economy and the two of the c x d map whose money grows without bound.
const CStepParams kEconomy = Params({17.5, 6.8, 0.01, 1.2, -0.04, 0.3, 0.5});
const CStepParams kRunaway1 = Params({17.5, 6.8, -0.5, 1.087, -0.04, 0.3, 0.5});
const CStepParams kRunaway2 = Params({17.5, 6.8, -0.283, 0.5, -0.04, 0.3, 0.5});
const double kEconomyStart[3] = {0.1828, 0.1141, -1.865};

CRunLength Length(double error, double maxTime = 1e6, EMethod method = EMethod::Equations) {
    CRunLength run;
    run.dTargetError = error;
    run.dMaxTime = maxTime;
    run.eMethod = method;
    return run;
}

void ExpectNearPublished(double value, double error, double published, double share) {
    EXPECT_NEAR(value, published, published * share);
    EXPECT_LE(std::fabs(value - published), 3 * error) << "the error bar misses the value";
}

} // namespace

// The equations against published exponents: Lorenz 0.9056 within 1 %, Rossler 0.0714 within
// 3 %, the shipped economy 0.031 within 0.01, each within three of its own errors.
TEST(Lyapunov, PublishedExponentsOfTheEquations) {
    const CLyapunovResult lorenz = LargestLyapunov(2, kLorenz, 1, 1, 1, Length(0.003));
    ASSERT_EQ(lorenz.eOutcome, EOutcome::Value);
    EXPECT_TRUE(lorenz.bConverged);
    ExpectNearPublished(lorenz.dExponent, lorenz.dError, 0.9056, 0.01);
    const CLyapunovResult rossler = LargestLyapunov(4, kRossler, 1, 1, 0, Length(0.0007));
    ExpectNearPublished(rossler.dExponent, rossler.dError, 0.0714, 0.03);
    const CLyapunovResult economy = LargestLyapunov(5, kEconomy, kEconomyStart[0], kEconomyStart[1],
                                                    kEconomyStart[2], Length(0.005));
    EXPECT_NEAR(economy.dExponent, 0.031, 0.01);
    EXPECT_LE(economy.dError, 0.005);
    EXPECT_EQ(Classify(economy), EClass::Chaos);
    // The Variation belongs to the drawing step only: the equations' answer ignores it.
    CStepParams coarse = kEconomy;
    coarse.half = 0.05;
    const CLyapunovResult same = LargestLyapunov(5, coarse, kEconomyStart[0], kEconomyStart[1],
                                                 kEconomyStart[2], Length(0.005));
    EXPECT_EQ(same.dExponent, economy.dExponent);
    // As drawn, the same economy at the shipped Variation is the first-order step's artefact.
    const CLyapunovResult drawn =
        LargestLyapunov(5, kEconomy, kEconomyStart[0], kEconomyStart[1], kEconomyStart[2],
                        Length(0.005, 1e6, EMethod::AsDrawn));
    EXPECT_NEAR(drawn.dExponent, 0.088, 0.01);
}

// Lorenz: 0.9056, 0, -14.5723 and the Kaplan-Yorke dimension 2.062; the sum is the Jacobian's
// trace, -(1 + b + c).
TEST(Lyapunov, SpectrumOfLorenzAndItsTraceCheck) {
    const CSpectrum s = LyapunovSpectrum(2, kLorenz, 1, 1, 1, Length(0.003));
    ASSERT_EQ(s.eOutcome, EOutcome::Value);
    ExpectNearPublished(s.dExponent[0], s.dError[0], 0.9056, 0.01);
    EXPECT_LT(std::fabs(s.dExponent[1]), 0.01);
    ExpectNearPublished(-s.dExponent[2], s.dError[2], 14.5723, 0.01);
    EXPECT_NEAR(s.KaplanYorke(), 2.062, 0.01);
    EXPECT_NEAR(s.dTrace, -(1 + 8.0 / 3 + 10), 1e-6);
    EXPECT_NEAR(s.dExponent[0] + s.dExponent[1] + s.dExponent[2], s.dTrace, 1e-3);
    // As drawn has no independent check of the sum.
    EXPECT_TRUE(std::isnan(
        LyapunovSpectrum(2, kLorenz, 1, 1, 1, Length(0.05, 200, EMethod::AsDrawn)).dTrace));
}

// Ten starts of Lorenz: the errors are honest, most values within one of theirs of the
// published exponent, all within three.
TEST(Lyapunov, ErrorsCoverThePublishedValue) {
    int within = 0;
    double sum = 0, squares = 0, errors = 0;
    for (int i = 0; i < 10; ++i) {
        const CLyapunovResult r =
            LargestLyapunov(2, kLorenz, 1 + 0.37 * i, 1 - 0.21 * i, 5 + 0.5 * i, Length(0.01));
        EXPECT_LE(std::fabs(r.dExponent - 0.9056), 3 * r.dError) << "start " << i;
        EXPECT_LE(r.dError, 0.01);
        within += std::fabs(r.dExponent - 0.9056) <= r.dError;
        sum += r.dExponent, squares += r.dExponent * r.dExponent, errors += r.dError;
    }
    EXPECT_GE(within, 6);
    // Nor are the errors smaller than the spread of the values they describe.
    EXPECT_GE(errors / 10, std::sqrt((squares - sum * sum / 10) / 9));
}

// Settles, cycles, chaos, explosive and diverged, each from a case whose answer is known apart
// from this code: Lorenz at r = 15 spirals into a focus, whose exponent is the real part of its
// complex eigenvalues; Rossler at c = 2.5 cycles; the two runaway economies grow without bound
// (however slowly: they leave a box of 1e6 only after 190 time units); Pickover divides by
// sin(0).
TEST(Lyapunov, ClassesOfKnownCases) {
    const CStepParams focus = Params({15, 8.0 / 3, 10});
    const CLyapunovResult settles = LargestLyapunov(2, focus, 1, 1, 1, Length(0.005));
    const double q = std::sqrt(8.0 / 3 * 14);
    const double point[3] = {q, q, 14};
    double J[3][3];
    FieldJacobian<2>(focus, point, J);
    std::complex<double> eigen[3];
    Eigenvalues3(J, eigen);
    EXPECT_EQ(Classify(settles), EClass::Settles);
    EXPECT_NEAR(settles.dExponent, eigen[0].real(), 1e-3);

    const CLyapunovResult cycles =
        LargestLyapunov(4, Params({0.2, 0.2, 2.5}), 1, 1, 0, Length(0.005));
    EXPECT_EQ(Classify(cycles), EClass::Cycles);
    EXPECT_LT(std::fabs(cycles.dExponent), 0.005);
    EXPECT_EQ(Classify(LargestLyapunov(2, kLorenz, 1, 1, 1, Length(0.02))), EClass::Chaos);
    for (const CStepParams& runaway : {kRunaway1, kRunaway2})
        for (EMethod m : {EMethod::Equations, EMethod::AsDrawn})
            EXPECT_EQ(Classify(LargestLyapunov(5, runaway, kEconomyStart[0], kEconomyStart[1],
                                               kEconomyStart[2], Length(0.005, 1e4, m))),
                      EClass::Explosive)
                << "c " << runaway.c << " method " << MethodKey(m);
    const CStepParams pickover = Params({1.05, 2, -0.23, -2.37, 0.06});
    for (EMethod m : {EMethod::Equations, EMethod::AsDrawn})
        EXPECT_EQ(Classify(LargestLyapunov(3, pickover, 0, 1, 1, Length(0.005, 100, m))),
                  EClass::Diverged);
    // No exponent where the drawing step takes no time.
    EXPECT_EQ(LargestLyapunov(2, Params({28, 8.0 / 3, 10}, 0), 1, 1, 1,
                              Length(0.005, 100, EMethod::AsDrawn))
                  .eOutcome,
              EOutcome::Diverged);
    // The tolerance on cycles and twice the error both widen the band.
    CLyapunovResult r;
    r.eOutcome = EOutcome::Value;
    r.dExponent = 0.012, r.dError = 0.005;
    EXPECT_EQ(Classify(r), EClass::Chaos);
    r.dError = 0.007;
    EXPECT_EQ(Classify(r), EClass::Cycles);
    r.dExponent = -0.009, r.dError = 0.001;
    EXPECT_EQ(Classify(r), EClass::Cycles);
}

// Measuring starts where the transient ends: a run with a transient equals, bit for bit, a run
// without one from the point the transient reached (the equations' flow, or the picture's
// steps As drawn).
TEST(Lyapunov, TransientEndsWhereMeasuringStarts) {
    CRunLength with = Length(0.02, 300), without = with;
    with.dTransient = 50;
    without.dTransient = 0;
    double s[3] = {1, 1, 1};
    ASSERT_TRUE(FlowFor(2, kLorenz, s, 50, with.dTolerance));
    const CLyapunovResult a = LargestLyapunov(2, kLorenz, 1, 1, 1, with);
    const CLyapunovResult b = LargestLyapunov(2, kLorenz, s[0], s[1], s[2], without);
    EXPECT_EQ(a.dExponent, b.dExponent);
    EXPECT_EQ(a.dError, b.dError);
    EXPECT_EQ(a.dTime, b.dTime);

    with.eMethod = without.eMethod = EMethod::AsDrawn;
    double x = 1, y = 1, z = 1;
    const int64_t steps = std::llround(50 / ModelTimePerStep(0.005));
    for (int64_t i = 0; i < steps; ++i)
        Step<2>(kLorenz, x, y, z);
    const CLyapunovResult c = LargestLyapunov(2, kLorenz, 1, 1, 1, with);
    const CLyapunovResult d = LargestLyapunov(2, kLorenz, x, y, z, without);
    EXPECT_EQ(c.dExponent, d.dExponent);
    EXPECT_EQ(c.dError, d.dError);
}

// Growth along any one variable alone is explosive, however slowly it goes; a phase that turns
// without bound is not, nor a bounded orbit, nor a start that spirals out onto its cycle.
TEST(Lyapunov, GrowthOnEachAxisAloneIsExplosive) {
    double seen = 0; // when the last explosion was told
    auto watch = [&seen](int kind, const CStepParams& p, auto path, double until) {
        double s[3];
        path(0.0, s);
        CGrowthWatch w(kind, p, s);
        for (double t = 0.05; t <= until; t += 0.05) {
            path(t, s);
            if (const EOutcome o = w.Look(s, t); o != EOutcome::Value)
                return seen = t, o;
        }
        return EOutcome::Value;
    };
    for (int axis = 0; axis < 3; ++axis) {
        SCOPED_TRACE(axis);
        auto fast = [axis](double t, double(&s)[3]) {
            s[0] = s[1] = s[2] = 0.5;
            s[axis] = std::exp(0.07 * t);
        };
        auto turning = [axis](double t, double(&s)[3]) {
            s[0] = std::cos(t), s[1] = std::sin(t), s[2] = 0.5;
            s[axis] *= std::exp(0.07 * t);
        };
        auto slow = [axis](double t, double(&s)[3]) {
            s[0] = std::cos(3 * t), s[1] = std::sin(3 * t), s[2] = 0.5;
            s[axis] += 0.05 * t;
        };
        EXPECT_EQ(watch(2, kLorenz, fast, 1000), EOutcome::Explosive);
        // Tenfold over the second half of the run, e^(0.07 t / 2) = 10, at t = 66: long before
        // a million-fold size (t = 197).
        EXPECT_LT(seen, 100) << seen;
        EXPECT_EQ(watch(2, kLorenz, turning, 1000), EOutcome::Explosive);
        EXPECT_EQ(watch(2, kLorenz, slow, 10000), EOutcome::Explosive);
    }
    auto bounded = [](double t, double(&s)[3]) {
        s[0] = 20 * std::cos(t) * std::sin(0.13 * t), s[1] = 20 * std::sin(1.7 * t), s[2] = 30;
    };
    auto spiral = [](double t, double(&s)[3]) {
        const double r = 20 / (1 + 19 * std::exp(-0.1 * t));
        s[0] = r * std::cos(t), s[1] = r * std::sin(t), s[2] = 0;
    };
    auto turning = [](double t, double(&s)[3]) { s[0] = std::cos(t), s[1] = 0.5, s[2] = 3 * t; };
    EXPECT_EQ(watch(2, kLorenz, bounded, 10000), EOutcome::Value);
    EXPECT_EQ(watch(2, kLorenz, spiral, 10000), EOutcome::Value);
    EXPECT_EQ(watch(1, Params({0.06, 1.73, 2.82, 5.45}), turning, 10000), EOutcome::Value);
    EXPECT_EQ(watch(2, kLorenz, turning, 10000), EOutcome::Explosive);
}

// A set cancel flag ends even an endless run at once.
TEST(Lyapunov, CancelEndsAnEndlessRun) {
    std::atomic<bool> cancel{true};
    for (EMethod m : {EMethod::Equations, EMethod::AsDrawn})
        EXPECT_EQ(LargestLyapunov(2, kLorenz, 1, 1, 1, Length(1e-12, 1e12, m), &cancel).eOutcome,
                  EOutcome::Cancelled);
}

// As many digits as the error allows.
TEST(Lyapunov, ValueWithErrorDigits) {
    EXPECT_EQ(ValueWithError(0.0312345, 0.0046), "0.031 \xC2\xB1 0.005");
    EXPECT_EQ(ValueWithError(0.9056, 0.0018), "0.9056 \xC2\xB1 0.0018");
    EXPECT_EQ(ValueWithError(-14.57234, 0.0041), "-14.572 \xC2\xB1 0.004");
    EXPECT_EQ(ValueWithError(123.4, 25), "123 \xC2\xB1 25");
    EXPECT_EQ(ValueWithError(std::nan(""), 0.1), "undefined");
}

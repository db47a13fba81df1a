#include "analysis/LaneMap.h"
#include "analysis/Sweep.h"

#include <cmath>
#include <gtest/gtest.h>

#include "Reference.h"

using namespace qel;

namespace {

// Every kind at its shipped values, along the first parameter: a few cells each.
CSweep KindSweep(int kind) {
    static const CStepParams params[] = {Params({1.19, 1.64, 2.65, -1.08, -0.03}),
                                         Params({0.06, 1.73, 2.82, 5.45}),
                                         Params({28, 8.0 / 3, 10}),
                                         Params({1.05, 2, -0.23, -2.37, 0.06}),
                                         Params({0.2, 0.2, 5.7}),
                                         Params({17.5, 6.8, 0.01, 1.2, -0.04, 0.3, 0.5})};
    static const double starts[][3] = {
        {0.11, -0.45, 14.36},    {-1.17, -0.99, 32.36}, {1, 1, 1}, {2.43, -5.37, -1.81}, {1, 1, 0},
        {0.1828, 0.1141, -1.865}};
    CSweep s;
    s.nKind = kind;
    s.base.params = params[kind];
    std::copy(starts[kind], starts[kind] + 3, s.base.init);
    s.nAxis[0] = 0, s.nAxis[1] = kAxisX0;
    s.lo[0] = params[kind].a * 0.9, s.hi[0] = params[kind].a * 1.1;
    s.lo[1] = s.hi[1] = starts[kind][0];
    s.nCount[0] = 5, s.nCount[1] = 1;
    s.run.dTargetError = 0.01;
    s.run.dMaxTime = 3000;
    return s;
}

} // namespace

// The lanes against the one-lane measurement, for cells of every kind: the same outcome and
// exponents within three of their combined errors (a vector sine is not libm's); on the
// instruction set the processor has and on the baseline the dispatch falls back to.
TEST(Lanes, AgreeWithTheOneLaneMeasurementOnEveryKindAndInstructionSet) {
    const std::string best = LaneTarget();
    for (bool baseline : {false, true}) {
        UseBaselineLanes(baseline);
        SCOPED_TRACE(LaneTarget());
        if (baseline)
            EXPECT_NE(LaneTarget(), best) << "the baseline is the best set: nothing is tested";
        for (int kind = 0; kind < 6; ++kind) {
            SCOPED_TRACE(kind);
            const CSweep s = KindSweep(kind);
            const int cells[5] = {0, 1, 2, 3, 4};
            CLyapunovResult lanes[5];
            LaneMapCells(s, cells, 5, lanes, nullptr);
            for (int c = 0; c < 5; ++c) {
                const CCellSetup at = s.Cell(c, 0);
                const CLyapunovResult one =
                    LargestLyapunov(kind, at.params, at.init[0], at.init[1], at.init[2], s.run);
                ASSERT_EQ(lanes[c].eOutcome, one.eOutcome) << "cell " << c;
                if (one.eOutcome != EOutcome::Value)
                    continue;
                EXPECT_LE(std::fabs(lanes[c].dExponent - one.dExponent),
                          3 * std::hypot(lanes[c].dError, one.dError))
                    << "cell " << c << ": " << lanes[c].dExponent << " against " << one.dExponent;
            }
        }
    }
    UseBaselineLanes(false);
    EXPECT_EQ(LaneTarget(), best);
}

// Cases known apart from any run: Lorenz at r = 15 settles on a focus at the real part of its
// complex eigenvalues, (-(1 + b + c) + 12.9627...) / 2 from its characteristic polynomial
// x^3 + 13.667 x^2 + 66.67 x + 746.7; Rossler at c = 2.5 cycles at 0.
TEST(Lanes, KnownExponentsWithinTheirErrors) {
    CSweep s = KindSweep(2);
    s.base.params.a = s.lo[0] = s.hi[0] = 15;
    s.nCount[0] = 1;
    double real = -13;
    for (int i = 0; i < 50; ++i) { // Newton on the real root of the characteristic polynomial
        const double b = 8.0 / 3, c = 10, r = 15;
        const double f = ((real + 1 + b + c) * real + b * (c + r)) * real + 2 * c * b * (r - 1);
        const double df = (3 * real + 2 * (1 + b + c)) * real + b * (c + r);
        real -= f / df;
    }
    const double focus = (-(1 + 8.0 / 3 + 10) - real) / 2;
    CSweep cycle = KindSweep(4);
    cycle.base.params.c = 2.5;
    cycle.nCount[0] = 1;
    const int cell = 0;
    CLyapunovResult r;
    for (const auto& [sweep, want] : {std::pair{s, focus}, std::pair{cycle, 0.0}}) {
        LaneMapCells(sweep, &cell, 1, &r, nullptr);
        EXPECT_LE(std::fabs(r.dExponent - want), std::max(3 * r.dError, 1e-4))
            << r.dExponent << " against " << want << " (error " << r.dError << ")";
    }
}

// A cell's result is its own: the same bits whatever cells share the lanes, in whatever order.
TEST(Lanes, ACellsResultDependsOnNothingButTheCell) {
    CSweep s = KindSweep(5);
    s.nCount[0] = 12;
    int forward[12], backward[12];
    for (int i = 0; i < 12; ++i)
        forward[i] = i, backward[i] = 11 - i;
    CLyapunovResult a[12], b[12], alone;
    LaneMapCells(s, forward, 12, a, nullptr);
    LaneMapCells(s, backward, 12, b, nullptr);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(a[i].dExponent, b[11 - i].dExponent) << i;
        EXPECT_EQ(a[i].dError, b[11 - i].dError) << i;
    }
    LaneMapCells(s, &forward[7], 1, &alone, nullptr);
    EXPECT_EQ(alone.dExponent, a[7].dExponent);
}

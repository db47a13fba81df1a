#include "analysis/Sweep.h"

#include "model/Attractor.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

using namespace qel;

namespace {

CStepParams Params(double a, double b, double c, double v) {
    CStepParams p;
    p.a = a, p.b = b, p.c = c, p.half = v * 0.5;
    return p;
}

int DistinctValues(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    int n = v.empty() ? 0 : 1;
    for (size_t i = 1; i < v.size(); ++i)
        n += v[i] - v[i - 1] > 1e-3 * std::max(1.0, std::fabs(v[i]));
    return n;
}

} // namespace

// The published exponent of the Lorenz system, chaos against a settling economy, and
// trajectories that blow up (would never end if they were not stopped early).
TEST(Lyapunov, KnownExponentsAndDivergence) {
    const CRunLength longRun{20000, 400000}, endless{1000, int64_t(1) << 50};
    const CLyapunovResult lorenz =
        LargestLyapunov(2, Params(28, 8.0 / 3, 10, 0.005), 1, 1, 1, longRun);
    ASSERT_EQ(lorenz.eOutcome, EOutcome::Value);
    EXPECT_NEAR(lorenz.dExponent, 0.906, 0.906 * 0.05);
    // Below the onset of chaos every orbit spirals into one of two fixed points.
    const CLyapunovResult stable =
        LargestLyapunov(2, Params(15, 8.0 / 3, 10, 0.005), 1, 1, 1, longRun);
    ASSERT_EQ(stable.eOutcome, EOutcome::Value);
    EXPECT_LT(stable.dExponent, -0.05);
    struct {
        int kind;
        CStepParams p;
        double x;
    } const blowUps[] = {
        {2, Params(28, -1, 10, 0.005), 1},  // z grows without bound
        {3, Params(1, 2, 0, 0.01), 0},      // divides by sin(0): not finite at once
        {4, Params(0.2, 0.2, -5, 0.01), 1}, // z runs away
    };
    for (const auto& c : blowUps) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(LargestLyapunov(c.kind, c.p, c.x, 1, 1, endless).eOutcome, EOutcome::Diverged);
        EXPECT_EQ(BifurcationColumn(c.kind, c.p, c.x, 1, 1, 0, endless).eOutcome,
                  EOutcome::Diverged);
    }
}

// Rossler a = b = 0.2: one maximum per turn at c = 2.5, two after the first doubling (c = 3.5),
// four after the second (c = 4); chaos at 5.7.
TEST(Bifurcation, RosslerPeriodDoubling) {
    const CRunLength run{300000, 60000};
    const struct {
        double c;
        int minimum, maximum;
    } cases[] = {{2.5, 1, 1}, {3.5, 2, 2}, {4.0, 4, 4}, {5.7, 8, 1000}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.c);
        const CColumnResult r = BifurcationColumn(4, Params(0.2, 0.2, k.c, 0.01), 1, 1, 0, 0, run);
        ASSERT_EQ(r.eOutcome, EOutcome::Value);
        ASSERT_GE(r.maxima.size(), 8u);
        const int n = DistinctValues(r.maxima);
        EXPECT_GE(n, k.minimum);
        EXPECT_LE(n, k.maximum);
    }
    // Chaos for ever: the column ends when it has all the maxima it keeps.
    const CColumnResult many =
        BifurcationColumn(4, Params(0.2, 0.2, 5.7, 0.01), 1, 1, 0, 0, {1000, int64_t(1) << 50});
    EXPECT_EQ(many.maxima.size(), kMaximaPerColumn);
}

// Coarse lattices come first and every cell exactly once, whatever the shape.
TEST(Sweep, CoarseToFineCoversEachCellOnce) {
    for (auto [w, h] : {std::pair{1, 1}, {128, 128}, {7, 3}, {100, 1}, {1, 33}}) {
        SCOPED_TRACE(w * 1000 + h);
        std::vector<int> order = CoarseToFineOrder(w, h);
        ASSERT_EQ(order.size(), size_t(w * h));
        for (size_t k = 1; k < order.size(); ++k)
            ASSERT_GE(CellSpacing(w, h, order[k - 1]), CellSpacing(w, h, order[k]));
        const int top = CellSpacing(w, h, 0);
        EXPECT_LE(std::max(w, h), top * 8);
        std::sort(order.begin(), order.end());
        for (int k = 0; k < w * h; ++k)
            ASSERT_EQ(order[k], k);
    }
}

// Cancel ends the map at once, also in the middle of a cell that would run for ages.
TEST(Sweep, CancelStopsMapAndCell) {
    std::unique_ptr<CAttractor> r(CreateAttractor(SORVAN_KIND));
    r->LoadSettings();
    CSweep s = CSweep::FromRecord(*r);
    s.nCount[0] = 4, s.nCount[1] = 3, s.run = {10, 50};
    std::atomic<bool> cancel{false};
    int calls = 0;
    const auto cells = RunMap(s, &cancel, [&](int done, int total) {
        ++calls;
        EXPECT_EQ(total, 12);
        if (done == 5)
            cancel = true;
    });
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(std::count_if(cells.begin(), cells.end(),
                            [](auto c) { return c.eOutcome == EOutcome::Cancelled; }),
              7);
    s.run = {int64_t(1) << 50, 10};
    EXPECT_EQ(MapCell(s, 0, &cancel).eOutcome, EOutcome::Cancelled);
    EXPECT_EQ(DiagramColumn(s, 0, &cancel).eOutcome, EOutcome::Cancelled);
    // Corners are the range's ends exactly.
    const CStepParams top = s.CellParams(3, 2);
    EXPECT_EQ(top.a, r->m_param[0].m_upper);
    EXPECT_EQ(top.d, r->m_param[3].m_upper);
    EXPECT_EQ(s.CellParams(0, 0).a, r->m_param[0].m_lower);
    EXPECT_EQ(SweepValue(0.1, 0.9, 6, 7), 0.9); // 0.1 + (0.9 - 0.1) is 0.9000000000000001
}

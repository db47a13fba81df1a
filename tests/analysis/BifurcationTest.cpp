#include "analysis/Bifurcation.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

#include "Reference.h"
#include <set>

using namespace qel;

namespace {

int DistinctValues(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    int n = v.empty() ? 0 : 1;
    for (size_t i = 1; i < v.size(); ++i)
        n += v[i] - v[i - 1] > 1e-3 * std::max(1.0, std::fabs(v[i]));
    return n;
}

// The first c, on the default diagram's columns (4 / 299 apart from 2), whose column has
// count distinct maxima.
double FirstWith(int count, double from, double to) {
    const double step = 4.0 / 299;
    for (double c = 2 + std::ceil((from - 2) / step) * step; c <= to; c += step) {
        const CColumnResult r = BifurcationColumn(4, Params({0.2, 0.2, c}), 1, 1, 0, 0, {});
        if (DistinctValues(r.maxima) >= count)
            return c;
    }
    return NAN;
}

} // namespace

// Rossler a = b = 0.2 with the default run: the first period doubling within 0.03 of 2.832,
// the second within 0.03 of 3.837 (transients that would show as early splits die first), and
// a chaotic column with at least 200 maxima.
TEST(Bifurcation, RosslerDoublingsWhereTheyArePublished) {
    EXPECT_NEAR(FirstWith(2, 2.6, 3.0), 2.832, 0.03);
    // Just before it the orbit converges slowly: a transient cut short would leave its maxima
    // smeared over a band (0.04 at c = 2.78 after 400 time units) instead of one value.
    const auto near = BifurcationColumn(4, Params({0.2, 0.2, 2.78}), 1, 1, 0, 0, {}).maxima;
    EXPECT_LT(*std::max_element(near.begin(), near.end()) -
                  *std::min_element(near.begin(), near.end()),
              0.002);
    EXPECT_NEAR(FirstWith(4, 3.6, 4.0), 3.837, 0.03);
    const CColumnResult chaos = BifurcationColumn(4, Params({0.2, 0.2, 5.7}), 1, 1, 0, 0, {});
    EXPECT_GE(chaos.maxima.size(), 200u);
    EXPECT_GE(DistinctValues(chaos.maxima), 100);
}

// On the cycle at c = 2.5 every maximum of x, y and z is the variable's highest value on the
// orbit, as an independent RK4 at a step of 1e-4 finds it; As drawn, every maximum is a point of
// the picture's own trajectory, bit for bit.
TEST(Bifurcation, MaximaOfTheChosenVariable) {
    const CStepParams p = Params({0.2, 0.2, 2.5});
    double s[3] = {1, 1, 0}, highest[3] = {-1e9, -1e9, -1e9};
    auto f = [](const double* s, double* d) {
        d[0] = -(s[1] + s[2]), d[1] = s[0] + 0.2 * s[1], d[2] = 0.2 + s[2] * (s[0] - 2.5);
    };
    long n = 0;
    ReferenceRk4(f, s, 1e-4, 3200000, [&](const double* at) {
        if (++n > 3000000)
            for (int i = 0; i < 3; ++i)
                highest[i] = std::max(highest[i], at[i]);
    });
    for (int v = 0; v < 3; ++v) {
        SCOPED_TRACE(v);
        const CColumnResult r = BifurcationColumn(4, p, 1, 1, 0, v, {});
        ASSERT_EQ(r.eOutcome, EOutcome::Value);
        ASSERT_FALSE(r.maxima.empty());
        for (double m : r.maxima)
            ASSERT_NEAR(m, highest[v], 1e-5 * std::max(1.0, highest[v]));
    }
    CDiagramRun drawn;
    drawn.eMethod = EMethod::AsDrawn;
    drawn.dMaxTransient = 200;
    drawn.dMaxTime = 200;
    for (int v = 0; v < 3; ++v) {
        const CColumnResult r = BifurcationColumn(4, Params({0.2, 0.2, 4.3}), 1, 1, 0, v, drawn);
        std::set<double> picture;
        double x = 1, y = 1, z = 0, before = 0, last = 0;
        for (int64_t i = 0; i < 65000; ++i) {
            Step<4>(Params({0.2, 0.2, 4.3}), x, y, z);
            const double now = v == 0 ? x : v == 1 ? y : z;
            if (i > 1 && before < last && last >= now)
                picture.insert(last);
            before = last, last = now;
        }
        ASSERT_GT(r.maxima.size(), 10u);
        for (double m : r.maxima)
            ASSERT_TRUE(picture.count(m)) << "variable " << v << " maximum " << m;
    }
}

// A column that settles shows its steady state, one value: Lorenz at r = 15 goes to
// (+-sqrt(b (r - 1)), +-sqrt(b (r - 1)), r - 1). Explosive and diverged columns hold nothing.
TEST(Bifurcation, SteadyExplosiveAndDivergedColumns) {
    const CStepParams lorenz = Params({15, 8.0 / 3, 10});
    const CColumnResult z = BifurcationColumn(2, lorenz, 1, 1, 1, 2, {});
    ASSERT_TRUE(z.bSteady);
    ASSERT_EQ(z.maxima.size(), 1u);
    EXPECT_NEAR(z.maxima[0], 14, 1e-5);
    const CColumnResult x = BifurcationColumn(2, lorenz, 1, 1, 1, 0, {});
    ASSERT_TRUE(x.bSteady);
    EXPECT_NEAR(std::fabs(x.maxima[0]), std::sqrt(8.0 / 3 * 14), 1e-5);
    const CColumnResult runaway = BifurcationColumn(
        5, Params({17.5, 6.8, -0.5, 1.087, -0.04, 0.3, 0.5}), 0.1828, 0.1141, -1.865, 1, {});
    EXPECT_EQ(runaway.eOutcome, EOutcome::Explosive);
    EXPECT_TRUE(runaway.maxima.empty());
    const CColumnResult pickover =
        BifurcationColumn(3, Params({1.05, 2, -0.23, -2.37, 0.06}), 0, 1, 1, 0, {});
    EXPECT_EQ(pickover.eOutcome, EOutcome::Diverged);
    std::atomic<bool> cancel{true};
    CDiagramRun endless;
    endless.dMaxTransient = endless.dMaxTime = 1e12;
    EXPECT_EQ(BifurcationColumn(4, Params({0.2, 0.2, 5.7}), 1, 1, 0, 0, endless, &cancel).eOutcome,
              EOutcome::Cancelled);
}

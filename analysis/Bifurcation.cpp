#include "analysis/Bifurcation.h"

#include "analysis/Equilibria.h"
#include "analysis/Flow.h"
#include "analysis/GrowthWatch.h"

#include <algorithm>
#include <cmath>

namespace qel {

namespace {

constexpr int kChunkMaxima = 64;   // a transient chunk ends after this many maxima ...
constexpr double kChunkTime = 200; // ... or this much model time
constexpr double kMoved = 1e-3;    // maxima that change less than this have stopped moving
// A variable that moves less than this share of its size has settled: at the integration's
// noise for the equations (a hundred times the tolerance), at rounding for the drawing step.
double SteadyShare(const CDiagramRun& run) {
    return run.eMethod == EMethod::AsDrawn ? 1e-12 : 100 * run.dTolerance;
}
constexpr double kFirstStep = 0.01; // the adaptive pair's first try
constexpr double kStepsPerTime = 2000;

// What one step of either method tells the column: the time, the watched variable's value
// and, when the step passed a maximum, its value.
struct CStepReport {
    double t = 0, value = 0, maximum = 0;
    bool found = false;
};

template <int K> class CDrawnSteps {
public:
    CDrawnSteps(const CStepParams& p, const double (&start)[3], int variable, const CDiagramRun&)
        : m_p(p), m_var(variable), m_tau(ModelTimePerStep(p.half * 2.0)) {
        for (int r = 0; r < 3; ++r)
            m_s[r] = start[r];
        m_before = m_last = m_s[m_var];
    }
    bool Usable() const { return m_tau > 0 && std::isfinite(m_tau); }
    bool Next(CStepReport& r, EOutcome&) {
        Step<K>(m_p, m_s[0], m_s[1], m_s[2]);
        m_t += m_tau;
        const double now = m_s[m_var];
        // A maximum is judged on the step after it.
        r.found = m_before < m_last && m_last >= now;
        r.maximum = m_last;
        r.t = m_t;
        r.value = now;
        m_before = m_last;
        m_last = now;
        return true;
    }
    const double (&State() const)[3] { return m_s; }

private:
    const CStepParams& m_p;
    int m_var;
    double m_tau, m_t = 0, m_s[3], m_before, m_last;
};

template <int K> class CFlowSteps {
public:
    CFlowSteps(const CStepParams& p, const double (&start)[3], int variable, const CDiagramRun& run)
        : m_p(p), m_var(variable), m_tol{run.dTolerance, run.dTolerance},
          m_budget(kStepsPerTime * (run.dMaxTransient + run.dMaxTime)) {
        for (int r = 0; r < 3; ++r)
            m_x.s[r] = start[r];
        FlowRates<K>(m_p, m_x, m_k[0]);
    }
    bool Usable() const { return true; }
    bool Next(CStepReport& r, EOutcome& why) {
        for (;;) {
            const double err = TryStepDopri<K>(m_p, m_x, m_y, m_k, m_h, m_tol);
            const double h = m_h;
            m_h = std::isfinite(err) ? NextStep(h, err) : h * 0.2;
            if (m_h < 1e-12 * std::max(1.0, m_t) || ++m_steps > m_budget) {
                why = EOutcome::Diverged;
                return false;
            }
            if (!(err <= 1.0))
                continue;
            const double d0 = m_k[0].s[m_var];
            const double v1 = m_y.s[m_var], d1 = m_k[6].s[m_var];
            r.found = d0 > 0 && d1 <= 0;
            if (r.found)
                r.maximum = Refined(h);
            m_x = m_y;
            m_k[0] = m_k[6];
            m_t += h;
            r.t = m_t;
            r.value = v1;
            return true;
        }
    }
    const double (&State() const)[3] { return m_x.s; }

private:
    // The maximum inside the step just taken from m_x: the step again in sixteen RK4 parts,
    // and the cubic on the part where the rate turns, so the peak is placed to the accuracy of
    // the step rather than of one cubic over it.
    double Refined(double h) const {
        constexpr int kParts = 16;
        const double sub = h / kParts;
        CTangentState<double, 0> a = m_x, b;
        CTangentState<double, 0> fa = m_k[0], fb;
        double best = a.s[m_var];
        for (int i = 0; i < kParts; ++i) {
            b = a;
            StepRk4<K>(m_p, b, sub);
            FlowRates<K>(m_p, b, fb);
            const double d0 = fa.s[m_var], d1 = fb.s[m_var];
            if (d0 > 0 && d1 <= 0)
                return std::max(best, HermiteMaximum(a.s[m_var], d0 * sub, b.s[m_var], d1 * sub));
            best = std::max(best, b.s[m_var]);
            a = b, fa = fb;
        }
        return best;
    }

    // The cubic through (0, v0) and (1, v1) with slopes s0 > 0 and s1 <= 0 per unit step: its
    // highest point, where its slope turns (found by halving, the slope's sign being known at
    // both ends).
    static double HermiteMaximum(double v0, double s0, double v1, double s1) {
        auto value = [&](double u) {
            const double u2 = u * u, u3 = u2 * u;
            return (2 * u3 - 3 * u2 + 1) * v0 + (u3 - 2 * u2 + u) * s0 + (-2 * u3 + 3 * u2) * v1 +
                   (u3 - u2) * s1;
        };
        auto slope = [&](double u) {
            const double u2 = u * u;
            return (6 * u2 - 6 * u) * v0 + (3 * u2 - 4 * u + 1) * s0 + (-6 * u2 + 6 * u) * v1 +
                   (3 * u2 - 2 * u) * s1;
        };
        double lo = 0, hi = 1;
        for (int i = 0; i < 60; ++i) {
            const double mid = 0.5 * (lo + hi);
            (slope(mid) > 0 ? lo : hi) = mid;
        }
        return value(0.5 * (lo + hi));
    }

    const CStepParams& m_p;
    int m_var;
    CTolerance m_tol;
    double m_budget, m_steps = 0, m_t = 0, m_h = kFirstStep;
    CTangentState<double, 0> m_x{}, m_y{}, m_k[7]{};
};

// Lowest and highest maximum and the variable's own range over a stretch of the run.
struct CChunk {
    double lo = HUGE_VAL, hi = -HUGE_VAL, vlo = HUGE_VAL, vhi = -HUGE_VAL;
    int count = 0;
    void Value(double v) { vlo = std::min(vlo, v), vhi = std::max(vhi, v); }
    void Maximum(double m) { lo = std::min(lo, m), hi = std::max(hi, m), ++count; }
    bool Steady(double share) const {
        return vhi >= vlo && vhi - vlo <= share * std::max(1.0, std::fabs(vhi));
    }
};

bool StoppedMoving(const CChunk& a, const CChunk& b) {
    if (a.count == 0 || b.count == 0)
        return false;
    const double size = std::max({b.hi - b.lo, std::fabs(b.hi), std::fabs(b.lo), 1e-12});
    return std::fabs(a.hi - b.hi) <= kMoved * size && std::fabs(a.lo - b.lo) <= kMoved * size;
}

template <class Steps>
CColumnResult RunColumn(int kind, const CStepParams& p, int variable, Steps& steps,
                        CGrowthWatch& watch, const CDiagramRun& run,
                        const std::atomic<bool>* cancel) {
    CColumnResult out;
    out.eOutcome = EOutcome::Value;
    CStepReport r;
    int64_t n = 0;
    const double share = SteadyShare(run);
    // A settled column holds its steady value: for the equations the equilibrium itself, found
    // by Newton's method from where the run rests.
    auto Steady = [&](CColumnResult& result, const double(&at)[3], double value) {
        result.bSteady = true;
        double x[3] = {at[0], at[1], at[2]};
        if (run.eMethod == EMethod::Equations && PolishEquilibrium(kind, p, x) &&
            std::fabs(x[variable] - value) <= share * std::max(1.0, std::fabs(value)))
            value = x[variable];
        result.maxima.assign(1, value);
        return result;
    };
    auto step = [&]() {
        if (!steps.Next(r, out.eOutcome))
            return false;
        if ((out.eOutcome = watch.Look(steps.State(), r.t)) != EOutcome::Value)
            return false;
        if ((++n & 4095) == 0 && cancel && cancel->load(std::memory_order_relaxed)) {
            out.eOutcome = EOutcome::Cancelled;
            return false;
        }
        return true;
    };
    auto fail = [&]() {
        out.maxima.clear();
        if (out.eOutcome == EOutcome::Diverged && watch.Grown(steps.State()))
            out.eOutcome = EOutcome::Explosive;
        return out;
    };
    // Transient: chunk after chunk until the maxima stop moving or the economy settles.
    CChunk previous;
    bool havePrevious = false;
    double chunkStart = 0;
    for (;;) {
        CChunk chunk;
        while (chunk.count < kChunkMaxima && r.t - chunkStart < kChunkTime &&
               r.t < run.dMaxTransient) {
            if (!step())
                return fail();
            chunk.Value(r.value);
            if (r.found)
                chunk.Maximum(r.maximum);
        }
        chunkStart = r.t;
        if (chunk.Steady(share)) {
            out.bSettledIn = true;
            out.dTransient = r.t;
            return Steady(out, steps.State(), r.value);
        }
        if (havePrevious && StoppedMoving(previous, chunk)) {
            out.bSettledIn = true;
            break;
        }
        if (r.t >= run.dMaxTransient)
            break;
        previous = chunk;
        havePrevious = true;
    }
    out.dTransient = r.t;
    const double until = r.t + run.dMaxTime;
    const size_t wanted = static_cast<size_t>(std::clamp(run.nMaxima, 1, kMaximaPerColumn));
    CChunk measured;
    while (out.maxima.size() < wanted && r.t < until) {
        if (!step())
            return fail();
        measured.Value(r.value);
        if (r.found)
            out.maxima.push_back(r.maximum);
    }
    return measured.Steady(share) ? Steady(out, steps.State(), r.value) : out;
}

} // namespace

CColumnResult BifurcationColumn(int kind, const CStepParams& p, double x, double y, double z,
                                int variable, const CDiagramRun& run,
                                const std::atomic<bool>* cancel) {
    CColumnResult bad;
    bad.eOutcome = EOutcome::Diverged;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z))
        return bad;
    const double start[3] = {x, y, z};
    const int v = variable < 0 || variable > 2 ? 0 : variable;
    CleanVectorState();
    return WithKind(kind, [&](auto k) {
        constexpr int K = decltype(k)::value;
        CGrowthWatch watch(K, p, start);
        if (run.eMethod == EMethod::AsDrawn) {
            CDrawnSteps<K> steps(p, start, v, run);
            return steps.Usable() ? RunColumn(K, p, v, steps, watch, run, cancel) : bad;
        }
        CFlowSteps<K> steps(p, start, v, run);
        return RunColumn(K, p, v, steps, watch, run, cancel);
    });
}

} // namespace qel

#include "analysis/Lyapunov.h"

#include "analysis/Batches.h"
#include "analysis/Flow.h"
#include "analysis/GrowthWatch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace qel {

namespace {

constexpr int kCancelEvery = 64; // re-orthonormalisations between looks at the cancel flag
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

template <int M> void StartVectors(double (&v)[3][M]) {
    // The first vector leans on every axis, so no direction of growth is missed.
    for (int r = 0; r < 3; ++r)
        for (int m = 0; m < M; ++m)
            v[r][m] = M == 1 ? 1.0 / std::sqrt(3.0) : (r == m ? 1.0 : 0.0);
}

template <int M> bool FiniteVectors(const double (&v)[3][M]) {
    for (int r = 0; r < 3; ++r)
        for (int m = 0; m < M; ++m)
            if (!std::isfinite(v[r][m]))
                return false;
    return true;
}

struct CMeasured {
    double exponent[3] = {}, error[3] = {}, trace = kNaN, time = 0;
    EOutcome outcome = EOutcome::Value;
    bool converged = false;
};

template <int M> void Finish(CMeasured& out, const CBatches<M>& b, const CRunLength& run) {
    for (int m = 0; m < M; ++m) {
        out.exponent[m] = b.Exponent(m);
        out.error[m] = b.Error(m);
    }
    out.time = b.Time();
    out.converged = b.Enough() && b.MaxError() <= run.dTargetError;
}

template <int M> bool Done(const CBatches<M>& b, const CRunLength& run) {
    return b.Time() >= run.dMaxTime || (b.Enough() && b.MaxError() <= run.dTargetError);
}

// The adaptive pair along the flow. Every phase starts from its point with the same first
// step, so that a run with a transient continues exactly as a run started where it ends.
template <int K, int M> class CFlowRun {
public:
    CFlowRun(const CStepParams& p, const CTolerance& tol, double budget)
        : m_p(p), m_tol(tol), m_budget(budget) {}

    // Advances by exactly duration (the point alone when N is 0); false when it cannot go on.
    template <int N>
    bool Advance(CTangentState<double, N>& x, double duration, CGrowthWatch& watch, EOutcome& why,
                 const std::atomic<bool>* cancel) {
        CTangentState<double, N> k[7], y;
        FlowRates<K>(m_p, x, k[0]);
        double t = 0, h = kFirstStep;
        int64_t tries = 0;
        while (t < duration) {
            const bool last = h >= duration - t;
            const double step = last ? duration - t : h;
            const double err = TryStepDopri<K>(m_p, x, y, k, step, m_tol);
            if (!(err <= 1.0)) {
                h = std::isfinite(err) ? NextStep(step, err) : step * 0.2;
            } else {
                x = y;
                k[0] = k[6];
                t = last ? duration : t + step;
                h = NextStep(step, err);
                m_dWatchTime += step;
                if ((why = watch.Look(x.s, m_dWatchTime)) != EOutcome::Value)
                    return false;
            }
            if (h < 1e-12 * std::max(1.0, t) || ++m_nSteps > m_budget) {
                why = watch.Grown(x.s) ? EOutcome::Explosive : EOutcome::Diverged;
                return false;
            }
            if ((++tries & 4095) == 0 && Cancelled(cancel)) {
                why = EOutcome::Cancelled;
                return false;
            }
        }
        return true;
    }

    // Measures the exponents from x: the tangent vectors turn into place, then the growth
    // over every few steps goes into the batches until the run is done.
    CMeasured Measure(CTangentState<double, M>& x, const CRunLength& run, CGrowthWatch& watch,
                      const std::atomic<bool>* cancel) {
        CMeasured out;
        StartVectors(x.v);
        CBatches<M> batches;
        CTangentState<double, M> k[7], y;
        FlowRates<K>(m_p, x, k[0]);
        // The trace over the stretch since the last re-orthonormalisation, and over all that
        // were measured: the same time as the exponents'.
        double h = kFirstStep, t = 0, trace = 0, traceSum = 0, since = 0;
        int accepted = 0, renorms = 0;
        const double measureFrom = kAlignTime;
        for (;;) {
            const double err = TryStepDopri<K>(m_p, x, y, k, h, m_tol);
            if (err <= 1.0) {
                if constexpr (M == 3) {
                    // The sum of the exponents is the mean trace of the Jacobian (trapezoids).
                    double J0[3][3], J1[3][3];
                    FieldJacobian<K>(m_p, x.s, J0);
                    FieldJacobian<K>(m_p, y.s, J1);
                    trace +=
                        0.5 * h * (J0[0][0] + J0[1][1] + J0[2][2] + J1[0][0] + J1[1][1] + J1[2][2]);
                }
                x = y;
                k[0] = k[6];
                t += h;
                since += h;
                m_dWatchTime += h;
                ++accepted;
                if ((out.outcome = watch.Look(x.s, m_dWatchTime)) != EOutcome::Value)
                    return out;
            }
            h = std::isfinite(err) ? NextStep(h, err) : h * 0.2;
            if (h < 1e-12 * std::max(1.0, t) || ++m_nSteps > m_budget) {
                out.outcome = watch.Grown(x.s) ? EOutcome::Explosive : EOutcome::Diverged;
                return out;
            }
            if (accepted < kRenormEvery)
                continue;
            accepted = 0;
            double growth[M];
            Orthonormalise(x.v, growth);
            if (!FiniteVectors(x.v)) {
                out.outcome = EOutcome::Diverged;
                return out;
            }
            // A restart of the tangent vectors keeps rates at x consistent.
            FlowRates<K>(m_p, x, k[0]);
            if (t - since >= measureFrom) {
                double logs[M];
                for (int m = 0; m < M; ++m)
                    logs[m] = std::log(growth[m]);
                batches.Add(logs, since);
                traceSum += trace;
            }
            since = 0;
            trace = 0;
            if (Done(batches, run)) {
                Finish(out, batches, run);
                if constexpr (M == 3)
                    out.trace = traceSum / batches.Time();
                return out;
            }
            if (++renorms % kCancelEvery == 0 && Cancelled(cancel)) {
                out.outcome = EOutcome::Cancelled;
                return out;
            }
        }
    }

private:
    const CStepParams& m_p;
    CTolerance m_tol;
    double m_budget;
    double m_nSteps = 0, m_dWatchTime = 0;
};

template <int K, int M>
CMeasured RunEquations(const CStepParams& p, const double (&start)[3], const CRunLength& run,
                       const std::atomic<bool>* cancel) {
    CGrowthWatch watch(K, p, start);
    const CTolerance tol{run.dTolerance, run.dTolerance};
    CFlowRun<K, M> flow(p, tol, kStepsPerTime * (run.dTransient + kAlignTime + run.dMaxTime));
    CMeasured out;
    CTangentState<double, M> x{};
    for (int r = 0; r < 3; ++r)
        x.s[r] = start[r];
    if (run.dTransient > 0) {
        CTangentState<double, 0> bare{};
        for (int r = 0; r < 3; ++r)
            bare.s[r] = start[r];
        if (!flow.Advance(bare, run.dTransient, watch, out.outcome, cancel))
            return out;
        for (int r = 0; r < 3; ++r)
            x.s[r] = bare.s[r];
    }
    return flow.Measure(x, run, watch, cancel);
}

template <int K, int M>
CMeasured RunDrawn(const CStepParams& p, const double (&start)[3], const CRunLength& run,
                   const std::atomic<bool>* cancel) {
    CMeasured out;
    const double tau = ModelTimePerStep(p.half * 2.0);
    if (!(tau > 0) || !std::isfinite(tau)) {
        out.outcome = EOutcome::Diverged;
        return out;
    }
    CGrowthWatch watch(K, p, start);
    double s[3] = {start[0], start[1], start[2]};
    const int64_t transient = std::llround(run.dTransient / tau);
    double t = 0;
    for (int64_t i = 0; i < transient; ++i) {
        Step<K>(p, s[0], s[1], s[2]);
        t += tau;
        if ((out.outcome = watch.Look(s, t)) != EOutcome::Value)
            return out;
        if ((i & 4095) == 0 && Cancelled(cancel)) {
            out.outcome = EOutcome::Cancelled;
            return out;
        }
    }
    double v[3][M];
    StartVectors(v);
    CBatches<M> batches;
    const int64_t align = std::llround(std::ceil(kAlignTime / tau / kRenormEvery));
    for (int64_t renorm = 0;; ++renorm) {
        for (int k = 0; k < kRenormEvery; ++k) {
            StepDrawnTangent<K, M>(p, s[0], s[1], s[2], v);
            t += tau;
            if ((out.outcome = watch.Look(s, t)) != EOutcome::Value)
                return out;
        }
        double growth[M];
        Orthonormalise(v, growth);
        if (!FiniteVectors(v)) {
            out.outcome = EOutcome::Diverged;
            return out;
        }
        if (renorm >= align) {
            double logs[M];
            for (int m = 0; m < M; ++m)
                logs[m] = std::log(growth[m]);
            batches.Add(logs, kRenormEvery * tau);
        }
        if (Done(batches, run)) {
            Finish(out, batches, run);
            return out;
        }
        if (renorm % kCancelEvery == 0 && Cancelled(cancel)) {
            out.outcome = EOutcome::Cancelled;
            return out;
        }
    }
}

template <int M>
CMeasured Run(int kind, const CStepParams& p, double x, double y, double z, const CRunLength& run,
              const std::atomic<bool>* cancel) {
    const double start[3] = {x, y, z};
    CMeasured out;
    CleanVectorState();
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        out.outcome = EOutcome::Diverged;
        return out;
    }
    return WithKind(kind, [&](auto k) {
        constexpr int K = decltype(k)::value;
        return run.eMethod == EMethod::AsDrawn ? RunDrawn<K, M>(p, start, run, cancel)
                                               : RunEquations<K, M>(p, start, run, cancel);
    });
}

} // namespace

const char* MethodKey(EMethod method) {
    return method == EMethod::AsDrawn ? "drawn" : "equations";
}

bool MethodFromKey(const std::string& key, EMethod& method) {
    if (key == "equations")
        method = EMethod::Equations;
    else if (key == "drawn")
        method = EMethod::AsDrawn;
    else
        return false;
    return true;
}

std::string ShortNumber(double v) {
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 6);
    return std::string(text, end.ptr);
}

std::string DescribeMethod(const CRunLength& run, double variation) {
    if (run.eMethod == EMethod::AsDrawn)
        return "As drawn: the Run's step at Variation " + ShortNumber(variation) + " (" +
               ShortNumber(ModelTimePerStep(variation)) + " model time per step)";
    return "Equations: Dormand-Prince 5(4), error " + ShortNumber(run.dTolerance) +
           " per step, independent of the Variation";
}

double CSpectrum::KaplanYorke() const {
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
        if (sum + dExponent[k] < 0)
            return k + sum / std::fabs(dExponent[k]);
        sum += dExponent[k];
    }
    return 3.0; // volumes do not shrink: the attractor fills space
}

EClass Classify(const CLyapunovResult& r, double tolerance) {
    switch (r.eOutcome) {
    case EOutcome::Explosive:
        return EClass::Explosive;
    case EOutcome::Diverged:
        return EClass::Diverged;
    case EOutcome::Cancelled:
        return EClass::Unknown;
    case EOutcome::Value:
        break;
    }
    const double margin = std::max(tolerance, 2 * r.dError);
    if (r.dExponent < -margin)
        return EClass::Settles;
    return r.dExponent > margin ? EClass::Chaos : EClass::Cycles;
}

const char* ClassName(EClass c) {
    static const char* const names[] = {"settles",   "cycles",   "chaos",
                                        "explosive", "diverged", "unknown"};
    return names[static_cast<int>(c)];
}

CLyapunovResult LargestLyapunov(int kind, const CStepParams& p, double x, double y, double z,
                                const CRunLength& run, const std::atomic<bool>* cancel) {
    const CMeasured m = Run<1>(kind, p, x, y, z, run, cancel);
    CLyapunovResult r;
    r.eOutcome = m.outcome;
    if (m.outcome == EOutcome::Value) {
        r.dExponent = m.exponent[0];
        r.dError = m.error[0];
        r.dTime = m.time;
        r.bConverged = m.converged;
    }
    return r;
}

CSpectrum LyapunovSpectrum(int kind, const CStepParams& p, double x, double y, double z,
                           const CRunLength& run, const std::atomic<bool>* cancel) {
    const CMeasured m = Run<3>(kind, p, x, y, z, run, cancel);
    CSpectrum s;
    s.eOutcome = m.outcome;
    if (m.outcome == EOutcome::Value) {
        for (int k = 0; k < 3; ++k)
            s.dExponent[k] = m.exponent[k], s.dError[k] = m.error[k];
        s.dTrace = m.trace;
        s.dTime = m.time;
        s.bConverged = m.converged;
    }
    return s;
}

bool FlowFor(int kind, const CStepParams& p, double (&s)[3], double t, double tolerance) {
    return WithKind(kind, [&](auto k) {
        constexpr int K = decltype(k)::value;
        CGrowthWatch watch(K, p, s);
        CFlowRun<K, 0> flow(p, CTolerance{tolerance, tolerance}, kStepsPerTime * (t + 1));
        CTangentState<double, 0> x{};
        for (int r = 0; r < 3; ++r)
            x.s[r] = s[r];
        EOutcome why = EOutcome::Value;
        const bool ok = flow.Advance(x, t, watch, why, nullptr);
        for (int r = 0; r < 3; ++r)
            s[r] = x.s[r];
        return ok;
    });
}

bool IsPhaseVariable(int kind, const CStepParams& p, int v) {
    switch (kind) {
    case 0: // Henon and Ikeda turn their plane by z
    case 1:
        return v == 2;
    case 3: // Pickover takes sines and cosines of x and y
        return v < 2;
    case SORVAN_KIND: // pricing is a phase only without its own term e z
        return v == 2 && p.e == 0;
    default:
        return false;
    }
}

std::string ValueWithError(double value, double error) {
    char text[128];
    if (!std::isfinite(value))
        return "undefined";
    if (!(error > 0) || !std::isfinite(error)) {
        std::snprintf(text, sizeof text, "%.6g", value);
        return text;
    }
    // Two significant digits of the error when they start with 1 or 2, else one.
    int place = static_cast<int>(std::floor(std::log10(error)));
    if (error / std::pow(10.0, place) < 3)
        --place;
    const int decimals = std::max(0, -place);
    std::snprintf(text, sizeof text, "%.*f \xC2\xB1 %.*f", decimals, value, decimals, error);
    return text;
}

} // namespace qel

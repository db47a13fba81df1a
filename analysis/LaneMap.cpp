// Map cells on SIMD lanes. Highway compiles this file once per instruction set and picks the
// best the processor has at run time; the equations and the flow's steps are included into each
// set's namespace, since its vectors need every function compiled for that set.
#include "analysis/LaneMap.h"

#include "analysis/Batches.h"
#include "analysis/GrowthWatch.h"
#include "analysis/Sweep.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "analysis/LaneMap.cpp"
#include "hwy/foreach_target.h" // must come before highway.h
#include "hwy/highway.h"

#include "hwy/contrib/math/math-inl.h"

HWY_BEFORE_NAMESPACE();
namespace qel {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;
using DD = hn::ScalableTag<double>;
using VecD = hn::Vec<DD>;

// A vector of doubles with the operators and functions the equations use.
struct VD {
    VecD v;
    VD() : v(hn::Zero(DD())) {}
    VD(double x) : v(hn::Set(DD(), x)) {}
    explicit VD(VecD x) : v(x) {}
};
HWY_INLINE VD operator+(VD a, VD b) {
    return VD(hn::Add(a.v, b.v));
}
HWY_INLINE VD operator-(VD a, VD b) {
    return VD(hn::Sub(a.v, b.v));
}
HWY_INLINE VD operator*(VD a, VD b) {
    return VD(hn::Mul(a.v, b.v));
}
HWY_INLINE VD operator/(VD a, VD b) {
    return VD(hn::Div(a.v, b.v));
}
HWY_INLINE VD operator-(VD a) {
    return VD(hn::Neg(a.v));
}
HWY_INLINE VD sin(VD a) {
    return VD(hn::Sin(DD(), a.v));
}
HWY_INLINE VD cos(VD a) {
    return VD(hn::Cos(DD(), a.v));
}
HWY_INLINE VD atan(VD a) {
    return VD(hn::Atan(DD(), a.v));
}
HWY_INLINE VD fabs(VD a) {
    return VD(hn::Abs(a.v));
}
HWY_INLINE VD sqrt(VD a) {
    return VD(hn::Sqrt(a.v));
}
HWY_INLINE VD max(VD a, VD b) {
    return VD(hn::Max(a.v, b.v));
}

#include "model/KindRates-inl.h"

#include "analysis/FlowSteps-inl.h"

// Each lane's parameters, a cell's own.
struct CLaneParams {
    VD a, b, c, d, e, f, g;
};

constexpr int kMaxLanes = 16;

// What one lane does, kept in plain doubles: the cell's phase, time, step, growth watch and
// batches, the same bookkeeping as the one-lane measurement.
struct CLane {
    int nIndex = -1; // into the caller's cells; -1 idle
    bool bMeasuring = false;
    double t = 0, h = kFirstStep, duration = 0, since = 0, watchTime = 0, steps = 0, budget = 0;
    double step = 0;
    int accepted = 0, renorms = 0;
    CGrowthWatch watch{0, CStepParams{}, {0, 0, 0}};
    CBatches<1> batches;
};

void SetLane(VD& v, int lane, double x) {
    HWY_ALIGN double a[kMaxLanes];
    hn::Store(v.v, DD(), a);
    a[lane] = x;
    v = VD(hn::Load(DD(), a));
}

double GetLane(const VD& v, int lane) {
    HWY_ALIGN double a[kMaxLanes];
    hn::Store(v.v, DD(), a);
    return a[lane];
}

template <int K>
void RunKind(const CSweep& s, const int* cells, int count, CLyapunovResult* out,
             const std::atomic<bool>* cancel) {
    const DD d;
    const int n = static_cast<int>(hn::Lanes(d));
    const CRunLength& run = s.run;
    const CTolerance tol{run.dTolerance, run.dTolerance};
    CLane lanes[kMaxLanes];
    CLaneParams p;
    CTangentState<VD, 1> x, y, k[7];
    int next = 0, active = 0;
    const double start = 1.0 / std::sqrt(3.0);

    // Puts cell `next` on lane l: its parameters and start, the tangent vector zero through
    // the transient (so that the transient's steps are the point's alone).
    auto fill = [&](int l) {
        CLane& lane = lanes[l];
        lane = CLane{};
        if (next >= count)
            return false;
        lane.nIndex = next++;
        const CCellSetup c =
            s.Cell(cells[lane.nIndex] % s.nCount[0], cells[lane.nIndex] / s.nCount[0]);
        const double values[7] = {c.params.a, c.params.b, c.params.c, c.params.d,
                                  c.params.e, c.params.f, c.params.g};
        VD* slots[7] = {&p.a, &p.b, &p.c, &p.d, &p.e, &p.f, &p.g};
        for (int i = 0; i < 7; ++i)
            SetLane(*slots[i], l, values[i]);
        for (int r = 0; r < 3; ++r) {
            SetLane(x.s[r], l, c.init[r]);
            SetLane(x.v[r][0], l, 0.0);
        }
        lane.watch = CGrowthWatch(K, c.params, c.init);
        lane.duration = run.dTransient;
        lane.budget = kStepsPerTime * (run.dTransient + kAlignTime + run.dMaxTime);
        if (!std::isfinite(c.init[0]) || !std::isfinite(c.init[1]) || !std::isfinite(c.init[2])) {
            out[lane.nIndex].eOutcome = EOutcome::Diverged;
            lane.nIndex = -1;
            return true;
        }
        ++active;
        return true;
    };
    auto finish = [&](int l, EOutcome o) {
        CLane& lane = lanes[l];
        CLyapunovResult& r = out[lane.nIndex];
        r = CLyapunovResult{};
        r.eOutcome = o;
        if (o == EOutcome::Value) {
            r.dExponent = lane.batches.Exponent(0);
            r.dError = lane.batches.Error(0);
            r.dTime = lane.batches.Time();
            r.bConverged = lane.batches.Enough() && lane.batches.MaxError() <= run.dTargetError;
        }
        lane.nIndex = -1;
        --active;
    };
    auto startMeasuring = [&](int l) {
        CLane& lane = lanes[l];
        lane.bMeasuring = true;
        lane.t = lane.since = 0;
        lane.h = kFirstStep;
        lane.accepted = 0;
        for (int r = 0; r < 3; ++r)
            SetLane(x.v[r][0], l, start);
    };

    HWY_ALIGN double needRates[kMaxLanes] = {};
    for (int l = 0; l < n; ++l) {
        while (fill(l) && lanes[l].nIndex < 0) {
        }
        needRates[l] = 1;
        if (lanes[l].nIndex >= 0 && run.dTransient <= 0)
            startMeasuring(l);
    }
    HWY_ALIGN double steps[kMaxLanes], errs[kMaxLanes], ys[3][kMaxLanes], take[kMaxLanes];
    int64_t rounds = 0;
    while (active > 0) {
        // Rates at x for lanes that started over or turned their tangent vector on.
        {
            const auto need = hn::Ne(hn::Load(d, needRates), hn::Zero(d));
            CTangentState<VD, 1> fresh;
            FlowRates<K>(p, x, fresh);
            for (int r = 0; r < 3; ++r) {
                k[0].s[r] = VD(hn::IfThenElse(need, fresh.s[r].v, k[0].s[r].v));
                k[0].v[r][0] = VD(hn::IfThenElse(need, fresh.v[r][0].v, k[0].v[r][0].v));
            }
            std::fill(needRates, needRates + kMaxLanes, 0.0);
        }
        for (int l = 0; l < n; ++l) {
            CLane& lane = lanes[l];
            if (lane.nIndex < 0)
                steps[l] = kFirstStep; // idle: any harmless step
            else if (!lane.bMeasuring)
                steps[l] = lane.h >= lane.duration - lane.t ? lane.duration - lane.t : lane.h;
            else
                steps[l] = lane.h;
            lane.step = steps[l];
        }
        const VD err = TryStepDopri<K>(p, x, y, k, VD(hn::Load(d, steps)), tol);
        hn::Store(err.v, d, errs);
        for (int r = 0; r < 3; ++r)
            hn::Store(y.s[r].v, d, ys[r]);
        for (int l = 0; l < n; ++l) {
            take[l] = 0;
            CLane& lane = lanes[l];
            if (lane.nIndex < 0)
                continue;
            const double e = errs[l], step = lane.step;
            if (e <= 1.0) {
                take[l] = 1;
                const bool last = !lane.bMeasuring && step == lane.duration - lane.t;
                lane.t = last ? lane.duration : lane.t + step;
                lane.watchTime += step;
                if (lane.bMeasuring)
                    lane.since += step, ++lane.accepted;
                const double at[3] = {ys[0][l], ys[1][l], ys[2][l]};
                const EOutcome o = lane.watch.Look(at, lane.watchTime);
                if (o != EOutcome::Value) {
                    finish(l, o);
                    continue;
                }
            }
            lane.h = std::isfinite(e) ? NextStep(step, e) : step * 0.2;
            if (lane.h < 1e-12 * std::max(1.0, lane.t) || ++lane.steps > lane.budget) {
                const double at[3] = {GetLane(e <= 1.0 ? y.s[0] : x.s[0], l),
                                      GetLane(e <= 1.0 ? y.s[1] : x.s[1], l),
                                      GetLane(e <= 1.0 ? y.s[2] : x.s[2], l)};
                finish(l, lane.watch.Grown(at) ? EOutcome::Explosive : EOutcome::Diverged);
            }
        }
        const auto accept = hn::Ne(hn::Load(d, take), hn::Zero(d));
        for (int r = 0; r < 3; ++r) {
            x.s[r] = VD(hn::IfThenElse(accept, y.s[r].v, x.s[r].v));
            x.v[r][0] = VD(hn::IfThenElse(accept, y.v[r][0].v, x.v[r][0].v));
            k[0].s[r] = VD(hn::IfThenElse(accept, k[6].s[r].v, k[0].s[r].v));
            k[0].v[r][0] = VD(hn::IfThenElse(accept, k[6].v[r][0].v, k[0].v[r][0].v));
        }
        // Lanes at a turn: the transient's end, a re-orthonormalisation, a cell done.
        for (int l = 0; l < n; ++l) {
            CLane& lane = lanes[l];
            if (lane.nIndex >= 0 && !lane.bMeasuring && lane.t >= lane.duration) {
                startMeasuring(l);
                needRates[l] = 1;
            }
            if (lane.nIndex >= 0 && lane.bMeasuring && lane.accepted >= kRenormEvery) {
                lane.accepted = 0;
                double v[3], len = 0;
                for (int r = 0; r < 3; ++r)
                    v[r] = GetLane(x.v[r][0], l), len += v[r] * v[r];
                len = std::sqrt(len);
                if (!std::isfinite(len) || len == 0) {
                    finish(l, EOutcome::Diverged);
                } else {
                    // The rates of the vector are linear in it: scaled with it.
                    for (int r = 0; r < 3; ++r) {
                        SetLane(x.v[r][0], l, v[r] / len);
                        SetLane(k[0].v[r][0], l, GetLane(k[0].v[r][0], l) / len);
                    }
                    if (lane.t - lane.since >= kAlignTime) {
                        const double logs[1] = {std::log(len)};
                        lane.batches.Add(logs, lane.since);
                    }
                    lane.since = 0;
                    const CBatches<1>& b = lane.batches;
                    if (b.Time() >= run.dMaxTime ||
                        (b.Enough() && b.MaxError() <= run.dTargetError))
                        finish(l, EOutcome::Value);
                }
            }
            if (lane.nIndex < 0) {
                while (fill(l) && lanes[l].nIndex < 0) {
                }
                needRates[l] = 1;
                if (lanes[l].nIndex >= 0 && run.dTransient <= 0)
                    startMeasuring(l);
            }
        }
        if ((++rounds & 4095) == 0 && cancel && cancel->load(std::memory_order_relaxed)) {
            for (int l = 0; l < n; ++l)
                if (lanes[l].nIndex >= 0)
                    out[lanes[l].nIndex] = CLyapunovResult{};
            for (int i = next; i < count; ++i)
                out[i] = CLyapunovResult{};
            return;
        }
    }
}

void RunLanes(const CSweep* s, const int* cells, int count, CLyapunovResult* out,
              const std::atomic<bool>* cancel) {
    switch (s->nKind) {
    case 0:
        return RunKind<0>(*s, cells, count, out, cancel);
    case 1:
        return RunKind<1>(*s, cells, count, out, cancel);
    case 2:
        return RunKind<2>(*s, cells, count, out, cancel);
    case 3:
        return RunKind<3>(*s, cells, count, out, cancel);
    case 4:
        return RunKind<4>(*s, cells, count, out, cancel);
    default:
        return RunKind<5>(*s, cells, count, out, cancel);
    }
}

int Lanes() {
    return static_cast<int>(hn::Lanes(DD()));
}

} // namespace HWY_NAMESPACE
} // namespace qel
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace qel {

HWY_EXPORT(RunLanes);
HWY_EXPORT(Lanes);

void LaneMapCells(const CSweep& s, const int* cells, int count, CLyapunovResult* out,
                  const std::atomic<bool>* cancel) {
    HWY_DYNAMIC_DISPATCH(RunLanes)(&s, cells, count, out, cancel);
}

std::string LaneTarget() {
    const int64_t chosen = hwy::SupportedTargets();
    return hwy::TargetName(chosen & -chosen);
}

int LaneCount() {
    return HWY_DYNAMIC_DISPATCH(Lanes)();
}

void UseBaselineLanes(bool baseline) {
    hwy::SetSupportedTargetsForTest(baseline ? HWY_STATIC_TARGET : 0);
    hwy::GetChosenTarget().Update(hwy::SupportedTargets());
}

} // namespace qel
#endif

#include "analysis/Bifurcation.h"

namespace qel {

namespace {

constexpr int64_t kCancelEvery = 4096;

template <int K>
CColumnResult Run(const CStepParams& p, double x, double y, double z, int variable,
                  const CRunLength& run, const std::atomic<bool>* cancel) {
    CColumnResult r;
    const double* watched = variable == 0 ? &x : variable == 1 ? &y : &z;
    double before = *watched, last = *watched;
    const int64_t total = run.nTransient + run.nSteps;
    for (int64_t i = 0; i < total; ++i) {
        if (i % kCancelEvery == 0 && cancel && cancel->load(std::memory_order_relaxed)) {
            r.maxima.clear();
            r.eOutcome = EOutcome::Cancelled;
            return r;
        }
        Step<K>(p, x, y, z);
        if (!InsideBox(x, y, z)) {
            r.maxima.clear();
            r.eOutcome = EOutcome::Diverged;
            return r;
        }
        const double now = *watched;
        // A maximum is judged on the step after it, so the first measured step can end one.
        if (i > run.nTransient && before < last && last >= now) {
            r.maxima.push_back(last);
            if (r.maxima.size() >= kMaximaPerColumn)
                return r;
        }
        before = last;
        last = now;
    }
    return r;
}

} // namespace

CColumnResult BifurcationColumn(int kind, const CStepParams& p, double x, double y, double z,
                                int variable, const CRunLength& run,
                                const std::atomic<bool>* cancel) {
    if (!InsideBox(x, y, z))
        return {{}, EOutcome::Diverged};
    return WithKind(
        kind, [&](auto k) { return Run<decltype(k)::value>(p, x, y, z, variable, run, cancel); });
}

} // namespace qel

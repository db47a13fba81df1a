#include "analysis/Lyapunov.h"

#include <cmath>

namespace qel {

namespace {

constexpr double kSeparation = 1e-8;
constexpr int kRenormEvery = 8;        // steps between pull-backs
constexpr int64_t kCancelEvery = 4096; // steps between looks at the cancel flag

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

template <int K>
CLyapunovResult Run(const CStepParams& p, double x, double y, double z, const CRunLength& run,
                    const std::atomic<bool>* cancel) {
    CLyapunovResult r;
    for (int64_t i = 0; i < run.nTransient; ++i) {
        if (i % kCancelEvery == 0 && Cancelled(cancel))
            return {0, EOutcome::Cancelled};
        Step<K>(p, x, y, z);
        if (!InsideBox(x, y, z))
            return {0, EOutcome::Diverged};
    }
    const double e = kSeparation / std::sqrt(3.0);
    double u = x + e, v = y + e, w = z + e;
    double sum = 0;
    for (int64_t i = 0; i < run.nSteps;) {
        if (i % kCancelEvery < kRenormEvery && Cancelled(cancel))
            return {0, EOutcome::Cancelled};
        const int64_t n = std::min<int64_t>(kRenormEvery, run.nSteps - i);
        for (int64_t k = 0; k < n; ++k) {
            Step<K>(p, x, y, z);
            Step<K>(p, u, v, w);
        }
        i += n;
        if (!InsideBox(x, y, z) || !InsideBox(u, v, w))
            return {0, EOutcome::Diverged};
        const double dx = u - x, dy = v - y, dz = w - z;
        double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (d == 0) {
            // Both landed on the same doubles: the separation shrank below what they resolve;
            // count the smallest growth they can show and start over along the first direction.
            d = kSeparation * 1e-8;
            u = x + e, v = y + e, w = z + e;
        } else {
            const double s = kSeparation / d;
            u = x + dx * s, v = y + dy * s, w = z + dz * s;
        }
        sum += std::log(d / kSeparation);
    }
    const double t = static_cast<double>(run.nSteps) * ModelTimePerStep(p.half * 2.0);
    r.dExponent = t > 0 ? sum / t : 0.0;
    return r;
}

} // namespace

CLyapunovResult LargestLyapunov(int kind, const CStepParams& p, double x, double y, double z,
                                const CRunLength& run, const std::atomic<bool>* cancel) {
    if (!InsideBox(x, y, z))
        return {0, EOutcome::Diverged};
    return WithKind(kind, [&](auto k) { return Run<decltype(k)::value>(p, x, y, z, run, cancel); });
}

} // namespace qel

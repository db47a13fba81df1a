#pragma once
#include "model/Integrator.h"
#include "model/KindTable.h"

#include <atomic>
#include <cstdint>

namespace qel {

// Past this size (or not finite) a trajectory counts as diverged.
inline constexpr double kDivergedBox = 1e6;

inline bool InsideBox(double x, double y, double z) {
    // Written so that NaN fails too.
    return std::fabs(x) <= kDivergedBox && std::fabs(y) <= kDivergedBox &&
           std::fabs(z) <= kDivergedBox;
}

struct CRunLength {
    int64_t nTransient = 1000; // steps dropped before measuring
    int64_t nSteps = 5000;     // steps measured
};

enum class EOutcome : uint8_t { Value, Diverged, Cancelled };

struct CLyapunovResult {
    double dExponent = 0; // per unit model time; meaningful only for EOutcome::Value
    EOutcome eOutcome = EOutcome::Value;
};

// Largest Lyapunov exponent of the trajectory from (x, y, z): the transient is dropped, then a
// second trajectory a small distance away is followed and pulled back to that distance every
// few steps; the logarithms of the growth over the elapsed model time give the exponent. A set
// cancel flag ends it within a few thousand steps.
CLyapunovResult LargestLyapunov(int kind, const CStepParams& p, double x, double y, double z,
                                const CRunLength& run, const std::atomic<bool>* cancel = nullptr);

} // namespace qel

#pragma once
#include "analysis/Lyapunov.h"

#include <vector>

namespace qel {

struct CColumnResult {
    std::vector<double> maxima; // local maxima of the variable after the transient, in order
    EOutcome eOutcome = EOutcome::Value;
};

// Enough maxima for any diagram; a column stops when it has them, so a huge step count costs
// neither hours nor gigabytes.
inline constexpr size_t kMaximaPerColumn = 4096;

// One column of a bifurcation diagram: the trajectory from (x, y, z) with the transient
// dropped, and every local maximum of variable 0 (x), 1 (y) or 2 (z) over the measured steps
// (at most kMaximaPerColumn of them).
CColumnResult BifurcationColumn(int kind, const CStepParams& p, double x, double y, double z,
                                int variable, const CRunLength& run,
                                const std::atomic<bool>* cancel = nullptr);

} // namespace qel

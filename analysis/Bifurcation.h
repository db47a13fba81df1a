#pragma once
#include "analysis/Lyapunov.h"

#include <vector>

namespace qel {

// How a column is run. The transient goes on, chunk by chunk, until the maxima stop moving
// (their lowest and highest change by less than a thousandth of their spread or of their size
// from one chunk to the next) or its longest time has passed; then maxima are kept until there
// are enough or the measured time is up.
struct CDiagramRun {
    EMethod eMethod = EMethod::Equations;
    double dTolerance = 1e-6;    // Equations: relative and absolute error allowed per step
    double dMaxTransient = 3000; // model time
    int nMaxima = 300;           // maxima kept per column
    double dMaxTime = 3000;      // model time measured at most
};

struct CColumnResult {
    // The local maxima of the variable after the transient, in order; for a column that
    // settles, the one steady-state value.
    std::vector<double> maxima;
    EOutcome eOutcome = EOutcome::Cancelled;
    bool bSteady = false;    // the economy settles: maxima holds its steady value
    double dTransient = 0;   // model time the transient took
    bool bSettledIn = false; // the transient ended because the maxima stopped moving
};

// Enough maxima for any diagram; a column stops when it has them.
inline constexpr int kMaximaPerColumn = 4096;

// One column of a bifurcation diagram for variable 0 (x), 1 (y) or 2 (z). With Equations a
// maximum is where the variable's rate turns from rising to falling, placed by the cubic
// through both ends of the step; As drawn it is a point of the trajectory higher than the one
// before it and not lower than the one after.
CColumnResult BifurcationColumn(int kind, const CStepParams& p, double x, double y, double z,
                                int variable, const CDiagramRun& run,
                                const std::atomic<bool>* cancel = nullptr);

} // namespace qel

#pragma once
#include "analysis/Lyapunov.h"

#include <atomic>
#include <string>

namespace qel {

struct CSweep;

// Map cells of the equations side by side on SIMD lanes (Highway, the instruction set chosen
// at run time): each cell is measured as LargestLyapunov measures it, a lane whose cell ends
// takes the next. A cell's result depends on nothing but the cell (not on the cells beside it,
// their order or the thread), for one binary on one instruction set; against the one-lane path
// it differs within its error, since a vector sine is not libm's. out[i] receives cells[i].
void LaneMapCells(const CSweep& s, const int* cells, int count, CLyapunovResult* out,
                  const std::atomic<bool>* cancel);

// The instruction set the lanes run on ("AVX3", "AVX2", "SSE4", ...) and how many they are.
std::string LaneTarget();
int LaneCount();

// Runs the lanes on the baseline instruction set only (for tests of the dispatch); false
// restores the choice of the best set the processor has.
void UseBaselineLanes(bool baseline);

} // namespace qel

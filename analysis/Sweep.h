#pragma once
#include "analysis/Bifurcation.h"
#include "analysis/Lyapunov.h"
#include "model/KindTable.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class CAttractor;

namespace qel {

// Parameter index 0..6 from its letter, -1 for anything else.
int ParameterFromLetter(const std::string& letter);

// Value i of n spread evenly over [lo, hi], both ends included.
double SweepValue(double lo, double hi, int i, int n);

// What one map or diagram computes: the record's values with one or two parameters swept.
struct CSweep {
    int nKind = 5;
    CStepParams params;     // every parameter but the swept ones as the record has them
    double init[3] = {};    // the record's initial conditions
    int nParam[2] = {0, 3}; // swept parameters; a diagram uses only the first
    double lo[2] = {0, 0}, hi[2] = {1, 1};
    int nCount[2] = {1, 1}; // map: columns by rows; diagram: columns
    int nVariable = 0;      // diagram: x, y or z
    CRunLength run;

    static CSweep FromRecord(const CAttractor& r);
    int CellCount() const { return nCount[0] * nCount[1]; }
    // The parameters of map cell (column i, row j); j = 0 is the bottom row (lo[1]).
    CStepParams CellParams(int i, int j) const;
};

CLyapunovResult MapCell(const CSweep& s, int cell, const std::atomic<bool>* cancel = nullptr);
CColumnResult DiagramColumn(const CSweep& s, int column, const std::atomic<bool>* cancel = nullptr);

// The map's cells so that the first ones already cover it: cells on a coarse lattice first,
// then each finer lattice's new cells. Every cell appears once.
std::vector<int> CoarseToFineOrder(int width, int height);

// The lattice spacing at which a cell first appears in CoarseToFineOrder (1 = finest).
int CellSpacing(int width, int height, int cell);

// All cells on this thread, in coarse-to-fine order; progress(done, total) after each.
// Cells left when cancel is set stay Cancelled.
std::vector<CLyapunovResult> RunMap(const CSweep& s, const std::atomic<bool>* cancel,
                                    const std::function<void(int, int)>& progress = {});

} // namespace qel

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

// What a map or a diagram can sweep: the parameters a..g (0..6), the start X0, Y0, Z0 (7..9,
// a basin picture) and the Variation (10: how the drawing step changes the answer).
enum : int { kAxisX0 = 7, kAxisY0 = 8, kAxisZ0 = 9, kAxisVariation = 10, kAxisCount = 11 };

// Axis from its key: "a".."g", "x0", "y0", "z0" or "v"; -1 for anything else.
int AxisFromKey(const std::string& key);
std::string AxisKey(int axis);
// The axis as a title: ParameterTitle for a..g, "X0 (start)", ..., "Variation".
std::string AxisTitle(int kind, int axis);
// Whether a sweep of the kind over the axis means anything: a parameter its equations use, a
// start value, or the Variation for the As drawn method (the equations do not depend on it).
// Empty when it does; else the reason, in a line.
std::string AxisRefusal(int kind, int axis, EMethod method);

// Value i of n spread evenly over [lo, hi], both ends included.
double SweepValue(double lo, double hi, int i, int n);

// A record's parameters and start, as one cell or column runs them.
struct CCellSetup {
    CStepParams params;
    double init[3] = {};
    double Axis(int axis) const;
    void SetAxis(int axis, double value);
};

// What one map or diagram computes: the record's values with one or two axes swept.
struct CSweep {
    int nKind = 5;
    CCellSetup base;       // the record's values; the swept ones are replaced per cell
    int nAxis[2] = {0, 3}; // swept axes; a diagram uses only the first
    double lo[2] = {0, 0}, hi[2] = {1, 1};
    int nCount[2] = {1, 1};     // map: columns by rows; diagram: columns
    int nVariable = 0;          // diagram: x, y or z
    CRunLength run;             // map cells
    CDiagramRun diagram;        // diagram columns
    bool bSteadyStates = false; // map cells also tell whether a stable steady state exists
    double box[2][3] = {};      // where steady states are looked for: the start values' limits

    static CSweep FromRecord(const CAttractor& r);
    int CellCount() const { return nCount[0] * nCount[1]; }
    // The values of map cell (column i, row j); j = 0 is the bottom row (lo[1]).
    CCellSetup Cell(int i, int j) const;
    CCellSetup Column(int column) const;
};

// A map cell: its exponent and, when asked for, whether a stable steady state exists there.
struct CMapCell {
    CLyapunovResult r;
    int8_t nStable = -1; // -1 not looked for, 0 none, 1 at least one
};

// Cells of a map side by side (out[i] for cells[i]): with the equations on SIMD lanes, a lane
// whose cell ends taking the next; As drawn one after another. A cell's result is the same
// whatever cells it is computed with.
void MapCells(const CSweep& s, const int* cells, int count, CMapCell* out,
              const std::atomic<bool>* cancel = nullptr);
CMapCell MapCell(const CSweep& s, int cell, const std::atomic<bool>* cancel = nullptr);
// Cells per tile of work: enough to keep every lane busy while the longest cells end.
int MapTileCells();
// ... for a map of this many cells on this many threads: smaller tiles, down to one cell a
// lane, where full ones would leave threads without work.
int MapTileCells(int cells, int threads);
CColumnResult DiagramColumn(const CSweep& s, int column, const std::atomic<bool>* cancel = nullptr);

// The map's cells so that the first ones already cover it: cells on a coarse lattice first,
// then each finer lattice's new cells. Every cell appears once.
std::vector<int> CoarseToFineOrder(int width, int height);

// The lattice spacing at which a cell first appears in CoarseToFineOrder (1 = finest).
int CellSpacing(int width, int height, int cell);

// All cells on this thread, tile by tile in coarse-to-fine order; progress(done, total) after
// each tile. Cells left when cancel is set stay Cancelled.
std::vector<CMapCell> RunMap(const CSweep& s, const std::atomic<bool>* cancel,
                             const std::function<void(int, int)>& progress = {});

} // namespace qel

#pragma once
#include "analysis/Sweep.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

class CPeers;

namespace qel {

// A map or a diagram cut into tiles: what a process is handed at a time and what a checkpoint
// keeps. A map's tile is a stretch of its coarse-to-fine order (cells from all over the map, so
// tiles cost about the same), computed side by side on the SIMD lanes; a diagram's tile is
// neighbouring columns. The tiles depend on the size of the sweep only, so a checkpoint fits
// any number of processes and threads.
struct CTileJob {
    CSweep sweep;
    bool bMap = true;

    int Items() const { return bMap ? sweep.CellCount() : sweep.nCount[0]; }
    int PerTile() const;
    int Tiles() const { return (Items() + PerTile() - 1) / PerTile(); }
    int Size(int tile) const;
    // Every cell (column) in tile order: tile t holds Order()[t * PerTile()] onwards.
    std::vector<int> Order() const;
};

// Every tile's results, on process 0.
struct CGathered {
    std::vector<CMapCell> cells;        // map
    std::vector<CColumnResult> columns; // diagram
    int nResumed = 0;                   // tiles read from the checkpoint
};

// Process 0: computes the tiles on `threads` threads here (0: one per core) and hands tiles to
// the other processes as they ask for them, one at a time, so that a process that drew cheap
// cells comes back sooner. With a checkpoint file the tiles it holds are skipped and each
// finished tile is appended to it. 0 when all tiles are in; else the exit code, after saying why.
int GatherTiles(CPeers& peers, const CTileJob& job, int threads, const std::string& checkpoint,
                CGathered& out);
// Process 0, when the command ends before GatherTiles has started the others: they end with
// code. Nothing when they have been told already.
void DismissPeers(CPeers& peers, int code);
// Every other process: waits for process 0's job and computes the tiles it hands out. The exit
// code.
int ServeTiles(CPeers& peers, int threads);

// A finished tile as one line of text: every result exactly (the doubles by their bits), then a
// check sum. Both the checkpoint and the messages between processes carry it.
// order is job.Order().
std::string TileLine(const CTileJob& job, const std::vector<int>& order, int tile,
                     const std::atomic<bool>* cancel = nullptr);
// Stores a line's results in `into`; false when the line is damaged or not of this job.
bool ReadTileLine(const CTileJob& job, const std::vector<int>& order, std::string_view line,
                  CGathered& into, int& tile);
// What identifies the run in a checkpoint: the analysis, kind, axes, ranges, grid, tile size,
// method, run lengths, every value the cells depend on and the arithmetic of this machine.
std::string CheckpointHeader(const CTileJob& job);
// The arithmetic that decides a result's last bits: the SIMD lanes' instruction set and the
// maths library's variant. Processes of one run must agree on it.
std::string Arithmetic();

} // namespace qel

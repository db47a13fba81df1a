#include "analysis/Sweep.h"

#include "analysis/Equilibria.h"
#include "analysis/LaneMap.h"
#include "model/Attractor.h"

#include <algorithm>

namespace qel {

namespace {

int TopSpacing(int width, int height) {
    int s = 1;
    while (s * 8 < std::max(width, height))
        s *= 2;
    return s;
}

} // namespace

int AxisFromKey(const std::string& key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'g')
        return key[0] - 'a';
    if (key == "x0" || key == "y0" || key == "z0")
        return kAxisX0 + (key[0] - 'x');
    return key == "v" ? kAxisVariation : -1;
}

std::string AxisKey(int axis) {
    if (axis >= 0 && axis < 7)
        return std::string(1, static_cast<char>('a' + axis));
    if (axis >= kAxisX0 && axis <= kAxisZ0)
        return std::string(1, static_cast<char>('x' + axis - kAxisX0)) + "0";
    return "v";
}

std::string AxisTitle(int kind, int axis) {
    if (axis >= 0 && axis < 7)
        return ParameterTitle(kind, axis);
    if (axis >= kAxisX0 && axis <= kAxisZ0)
        return std::string(1, static_cast<char>('X' + axis - kAxisX0)) + "0 (start)";
    return "Variation";
}

std::string AxisRefusal(int kind, int axis, EMethod method) {
    if (axis < 0 || axis >= kAxisCount)
        return "an axis is one of a to g, x0, y0, z0 or v";
    if (axis < 7 && axis >= UsedParameterCount(kind))
        return std::string(AttractorKindName(kind)) + " uses the parameters a to " +
               static_cast<char>('a' + UsedParameterCount(kind) - 1);
    if (axis == kAxisVariation && method != EMethod::AsDrawn)
        return "the equations do not depend on the Variation: sweep it with the As drawn "
               "method";
    return {};
}

double SweepValue(double lo, double hi, int i, int n) {
    if (n <= 1)
        return lo;
    // The last value is hi itself, not lo plus a rounded sum.
    return i == n - 1 ? hi : lo + (hi - lo) * i / (n - 1);
}

double CCellSetup::Axis(int axis) const {
    const double values[kAxisCount] = {params.a, params.b, params.c,       params.d,
                                       params.e, params.f, params.g,       init[0],
                                       init[1],  init[2],  params.half * 2};
    return axis >= 0 && axis < kAxisCount ? values[axis] : 0.0;
}

void CCellSetup::SetAxis(int axis, double value) {
    double* slots[kAxisX0] = {&params.a, &params.b, &params.c, &params.d,
                              &params.e, &params.f, &params.g};
    if (axis >= 0 && axis < kAxisX0)
        *slots[axis] = value;
    else if (axis >= kAxisX0 && axis <= kAxisZ0)
        init[axis - kAxisX0] = value;
    else if (axis == kAxisVariation)
        params.half = value * 0.5;
}

CSweep CSweep::FromRecord(const CAttractor& r) {
    CSweep s;
    s.nKind = r.GetKind();
    s.base.params = CStepParams::From(r);
    s.base.init[0] = r.m_initX.m_value;
    s.base.init[1] = r.m_initY.m_value;
    s.base.init[2] = r.m_initZ.m_value;
    s.nAxis[0] = 0;
    s.nAxis[1] = std::min(3, UsedParameterCount(s.nKind) - 1);
    for (int k = 0; k < 2; ++k) {
        s.lo[k] = r.m_param[s.nAxis[k]].m_lower;
        s.hi[k] = r.m_param[s.nAxis[k]].m_upper;
    }
    const double_PARAM* init[3] = {&r.m_initX, &r.m_initY, &r.m_initZ};
    for (int v = 0; v < 3; ++v) {
        s.box[0][v] = init[v]->m_lower;
        s.box[1][v] = init[v]->m_upper;
    }
    return s;
}

CCellSetup CSweep::Cell(int i, int j) const {
    CCellSetup c = base;
    c.SetAxis(nAxis[0], SweepValue(lo[0], hi[0], i, nCount[0]));
    c.SetAxis(nAxis[1], SweepValue(lo[1], hi[1], j, nCount[1]));
    return c;
}

CCellSetup CSweep::Column(int column) const {
    CCellSetup c = base;
    c.SetAxis(nAxis[0], SweepValue(lo[0], hi[0], column, nCount[0]));
    return c;
}

void MapCells(const CSweep& s, const int* cells, int count, CMapCell* out,
              const std::atomic<bool>* cancel) {
    if (s.run.eMethod == EMethod::Equations) {
        std::vector<CLyapunovResult> r(static_cast<size_t>(std::max(count, 0)));
        LaneMapCells(s, cells, count, r.data(), cancel);
        for (int i = 0; i < count; ++i)
            out[i].r = r[i];
    } else {
        for (int i = 0; i < count; ++i) {
            const CCellSetup c = s.Cell(cells[i] % s.nCount[0], cells[i] / s.nCount[0]);
            out[i].r =
                LargestLyapunov(s.nKind, c.params, c.init[0], c.init[1], c.init[2], s.run, cancel);
        }
    }
    for (int i = 0; i < count; ++i) {
        out[i].nStable = -1;
        if (!s.bSteadyStates || out[i].r.eOutcome == EOutcome::Cancelled)
            continue;
        const CCellSetup c = s.Cell(cells[i] % s.nCount[0], cells[i] / s.nCount[0]);
        const auto found = FindEquilibria(s.nKind, c.params, s.box[0], s.box[1], 4);
        out[i].nStable = std::any_of(found.begin(), found.end(),
                                     [](const CEquilibrium& e) { return e.Stable(); });
    }
}

CMapCell MapCell(const CSweep& s, int cell, const std::atomic<bool>* cancel) {
    CMapCell out;
    MapCells(s, &cell, 1, &out, cancel);
    return out;
}

int MapTileCells() {
    // Eight cells a lane: the lanes' idle tail, when a tile's last cells run long, stays near
    // a tenth of the tile's time.
    return 8 * LaneCount();
}

int MapTileCells(int cells, int threads) {
    const int lanes = LaneCount(), shares = std::max(threads, 1);
    const int even = (cells + shares - 1) / shares;
    return std::clamp(even / lanes * lanes, lanes, MapTileCells());
}

CColumnResult DiagramColumn(const CSweep& s, int column, const std::atomic<bool>* cancel) {
    const CCellSetup c = s.Column(column);
    return BifurcationColumn(s.nKind, c.params, c.init[0], c.init[1], c.init[2], s.nVariable,
                             s.diagram, cancel);
}

std::vector<int> CoarseToFineOrder(int width, int height) {
    std::vector<int> order;
    if (width <= 0 || height <= 0)
        return order;
    order.reserve(static_cast<size_t>(width) * height);
    for (int s = TopSpacing(width, height); s >= 1; s /= 2)
        for (int j = 0; j < height; j += s)
            for (int i = 0; i < width; i += s)
                if (CellSpacing(width, height, j * width + i) == s)
                    order.push_back(j * width + i);
    return order;
}

int CellSpacing(int width, int height, int cell) {
    const int i = cell % width, j = cell / width;
    int s = TopSpacing(width, height);
    while (s > 1 && (i % s || j % s))
        s /= 2;
    return s;
}

std::vector<CMapCell> RunMap(const CSweep& s, const std::atomic<bool>* cancel,
                             const std::function<void(int, int)>& progress) {
    std::vector<CMapCell> cells(static_cast<size_t>(s.CellCount()));
    const std::vector<int> order = CoarseToFineOrder(s.nCount[0], s.nCount[1]);
    const int total = static_cast<int>(order.size()), tile = MapTileCells();
    std::vector<CMapCell> part;
    for (int done = 0; done < total;) {
        if (cancel && cancel->load())
            break;
        const int n = std::min(tile, total - done);
        part.assign(static_cast<size_t>(n), CMapCell{});
        MapCells(s, order.data() + done, n, part.data(), cancel);
        for (int i = 0; i < n; ++i)
            cells[order[done + i]] = part[i];
        done += n;
        if (progress)
            progress(done, total);
    }
    return cells;
}

} // namespace qel

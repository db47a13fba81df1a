#include "analysis/Sweep.h"

#include "model/Attractor.h"

#include <algorithm>

namespace qel {

namespace {

void SetParam(CStepParams& p, int param, double v) {
    double* slots[7] = {&p.a, &p.b, &p.c, &p.d, &p.e, &p.f, &p.g};
    if (param >= 0 && param < 7)
        *slots[param] = v;
}

int TopSpacing(int width, int height) {
    int s = 1;
    while (s * 8 < std::max(width, height))
        s *= 2;
    return s;
}

} // namespace

int ParameterFromLetter(const std::string& letter) {
    if (letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'g')
        return letter[0] - 'a';
    return -1;
}

double SweepValue(double lo, double hi, int i, int n) {
    if (n <= 1)
        return lo;
    // The last value is hi itself, not lo plus a rounded sum.
    return i == n - 1 ? hi : lo + (hi - lo) * i / (n - 1);
}

CSweep CSweep::FromRecord(const CAttractor& r) {
    CSweep s;
    s.nKind = r.GetKind();
    s.params = CStepParams::From(r);
    s.init[0] = r.m_initX.m_value;
    s.init[1] = r.m_initY.m_value;
    s.init[2] = r.m_initZ.m_value;
    s.nParam[0] = 0;
    s.nParam[1] = std::min(3, UsedParameterCount(s.nKind) - 1);
    for (int k = 0; k < 2; ++k) {
        s.lo[k] = r.m_param[s.nParam[k]].m_lower;
        s.hi[k] = r.m_param[s.nParam[k]].m_upper;
    }
    return s;
}

CStepParams CSweep::CellParams(int i, int j) const {
    CStepParams p = params;
    SetParam(p, nParam[0], SweepValue(lo[0], hi[0], i, nCount[0]));
    SetParam(p, nParam[1], SweepValue(lo[1], hi[1], j, nCount[1]));
    return p;
}

CLyapunovResult MapCell(const CSweep& s, int cell, const std::atomic<bool>* cancel) {
    const CStepParams p = s.CellParams(cell % s.nCount[0], cell / s.nCount[0]);
    return LargestLyapunov(s.nKind, p, s.init[0], s.init[1], s.init[2], s.run, cancel);
}

CColumnResult DiagramColumn(const CSweep& s, int column, const std::atomic<bool>* cancel) {
    CStepParams p = s.params;
    SetParam(p, s.nParam[0], SweepValue(s.lo[0], s.hi[0], column, s.nCount[0]));
    return BifurcationColumn(s.nKind, p, s.init[0], s.init[1], s.init[2], s.nVariable, s.run,
                             cancel);
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

std::vector<CLyapunovResult> RunMap(const CSweep& s, const std::atomic<bool>* cancel,
                                    const std::function<void(int, int)>& progress) {
    std::vector<CLyapunovResult> cells(static_cast<size_t>(s.CellCount()),
                                       CLyapunovResult{0, EOutcome::Cancelled});
    const std::vector<int> order = CoarseToFineOrder(s.nCount[0], s.nCount[1]);
    int done = 0;
    for (int cell : order) {
        if (cancel && cancel->load())
            break;
        cells[cell] = MapCell(s, cell, cancel);
        if (progress)
            progress(++done, static_cast<int>(order.size()));
    }
    return cells;
}

} // namespace qel

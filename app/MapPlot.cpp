#include "app/MapPlot.h"

#include "model/Attractor.h"

#include <cmath>
#include <limits>

using namespace qel;

namespace {

const QColor kDiverged(150, 150, 150);

// Cool below zero, warm above, with white exactly at zero wherever the range puts it.
QCPColorGradient GradientFor(double lo, double hi) {
    QCPColorGradient g;
    g.clearColorStops();
    const double zero = hi > lo ? (0.0 - lo) / (hi - lo) : 0.5;
    g.setColorStopAt(0.0, QColor(20, 30, 140));
    g.setColorStopAt(zero * 0.5, QColor(40, 130, 230));
    g.setColorStopAt(zero, QColor(255, 255, 255));
    g.setColorStopAt(zero + (1 - zero) * 0.4, QColor(250, 180, 40));
    g.setColorStopAt(1.0, QColor(170, 20, 20));
    g.setNanHandling(QCPColorGradient::nhNanColor);
    g.setNanColor(kDiverged);
    g.setLevelCount(512);
    return g;
}

} // namespace

CMapPlot::CMapPlot(QWidget* parent) : QCustomPlot(parent) {
    m_pMap = new QCPColorMap(xAxis, yAxis);
    m_pMap->setInterpolate(false);
    m_pScale = new QCPColorScale(this);
    plotLayout()->addElement(0, 1, m_pScale);
    m_pScale->axis()->setLabel("largest Lyapunov exponent");
    m_pMap->setColorScale(m_pScale);
    // Nothing computed yet: an empty plane, not a map of zeros.
    m_pMap->data()->setSize(1, 1);
    m_pMap->data()->setAlpha(0, 0, 0);
    m_pMap->setGradient(GradientFor(-1, 1));
    m_pMap->setDataRange(QCPRange(-1, 1));
    auto* margins = new QCPMarginGroup(this);
    axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    m_pScale->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    m_pZeroLine = addGraph();
    m_pZeroLine->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    m_pZeroLine->setName("Qelmeter zero");
    m_pZeroLine->setVisible(false);
    m_pCross = addGraph();
    m_pCross->setLineStyle(QCPGraph::lsNone);
    m_pCross->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCross, QPen(Qt::black, 2), Qt::NoBrush, 14));
}

void CMapPlot::Start(const CSweep& sweep, double current1, double current2) {
    m_sweep = sweep;
    const int w = sweep.nCount[0], h = sweep.nCount[1];
    m_cells.assign(static_cast<size_t>(w) * h, CLyapunovResult{0, EOutcome::Cancelled});
    m_vnSpacing.assign(m_cells.size(), std::numeric_limits<int>::max());
    m_pMap->data()->setSize(w, h);
    m_pMap->data()->setRange(QCPRange(sweep.lo[0], sweep.hi[0]),
                             QCPRange(sweep.lo[1], sweep.hi[1]));
    m_pMap->data()->fill(0);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            m_pMap->data()->setAlpha(i, j, 0); // nothing known yet: show the background
    m_pMap->setGradient(GradientFor(-1, 1));
    m_pMap->setDataRange(QCPRange(-1, 1));
    xAxis->setLabel(QString::fromStdString(ParameterTitle(sweep.nKind, sweep.nParam[0])));
    yAxis->setLabel(QString::fromStdString(ParameterTitle(sweep.nKind, sweep.nParam[1])));
    // Half a cell beyond the ends, so the edge cells show whole.
    const double hw = w > 1 ? (sweep.hi[0] - sweep.lo[0]) / (w - 1) / 2 : 0.5;
    const double hh = h > 1 ? (sweep.hi[1] - sweep.lo[1]) / (h - 1) / 2 : 0.5;
    xAxis->setRange(sweep.lo[0] - hw, sweep.hi[0] + hw);
    yAxis->setRange(sweep.lo[1] - hh, sweep.hi[1] + hh);
    m_pCross->setData(QVector<double>{current1}, QVector<double>{current2});
    ShowQelmeterLine(m_pZeroLine->visible());
}

void CMapPlot::FillBlock(int cell, double value, int spacing) {
    const int w = m_sweep.nCount[0], h = m_sweep.nCount[1];
    const int i0 = cell % w, j0 = cell / w;
    for (int j = j0; j < std::min(h, j0 + spacing); ++j)
        for (int i = i0; i < std::min(w, i0 + spacing); ++i) {
            int& shown = m_vnSpacing[static_cast<size_t>(j) * w + i];
            const bool self = i == i0 && j == j0;
            if (!self && shown <= spacing)
                continue;
            shown = self ? 0 : spacing;
            m_pMap->data()->setCell(i, j, value);
            m_pMap->data()->setAlpha(i, j, 255);
        }
}

void CMapPlot::SetCell(int cell, const CLyapunovResult& result) {
    if (cell < 0 || cell >= static_cast<int>(m_cells.size()) ||
        result.eOutcome == EOutcome::Cancelled)
        return;
    m_cells[cell] = result;
    const double value = result.eOutcome == EOutcome::Diverged
                             ? std::numeric_limits<double>::quiet_NaN()
                             : result.dExponent;
    FillBlock(cell, value, CellSpacing(m_sweep.nCount[0], m_sweep.nCount[1], cell));
}

void CMapPlot::Refresh() {
    double lo = 0, hi = 0;
    for (const CLyapunovResult& r : m_cells)
        if (r.eOutcome == EOutcome::Value) {
            lo = std::min(lo, r.dExponent);
            hi = std::max(hi, r.dExponent);
        }
    if (hi - lo <= 0)
        lo = -1, hi = 1;
    m_pMap->setGradient(GradientFor(lo, hi));
    m_pMap->setDataRange(QCPRange(lo, hi));
    replot();
}

bool CMapPlot::CanShowQelmeterLine() const {
    return m_sweep.nKind == SORVAN_KIND && m_sweep.nParam[0] < 4 && m_sweep.nParam[1] < 4 &&
           m_sweep.nParam[0] != m_sweep.nParam[1];
}

void CMapPlot::ShowQelmeterLine(bool show) {
    QVector<double> keys, values;
    if (show && CanShowQelmeterLine()) {
        // a d - b c is affine in the second parameter: solve it along the first.
        const int n = 600;
        for (int k = 0; k <= n; ++k) {
            const double p1 = SweepValue(m_sweep.lo[0], m_sweep.hi[0], k, n + 1);
            auto qel = [&](double p2) {
                double v[4] = {m_sweep.params.a, m_sweep.params.b, m_sweep.params.c,
                               m_sweep.params.d};
                v[m_sweep.nParam[0]] = p1;
                v[m_sweep.nParam[1]] = p2;
                return Qelmeter(v[0], v[1], v[2], v[3]);
            };
            const double q0 = qel(0), slope = qel(1) - q0;
            keys.push_back(p1);
            values.push_back(slope != 0 ? -q0 / slope : std::nan(""));
        }
    }
    m_pZeroLine->setData(keys, values, true);
    m_pZeroLine->setVisible(show);
}

int CMapPlot::CellAt(const QPointF& pos) const {
    const int w = m_sweep.nCount[0], h = m_sweep.nCount[1];
    if (m_cells.empty() || !axisRect()->rect().contains(pos.toPoint()))
        return -1;
    int i = 0, j = 0;
    m_pMap->data()->coordToCell(xAxis->pixelToCoord(pos.x()), yAxis->pixelToCoord(pos.y()), &i, &j);
    return i >= 0 && i < w && j >= 0 && j < h ? j * w + i : -1;
}

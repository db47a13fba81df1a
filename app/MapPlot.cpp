#include "app/MapPlot.h"

#include "model/Attractor.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace qel;

namespace {

const QColor kSettles(40, 90, 200), kChaos(200, 40, 30);

// Blue below zero, white at zero, red above, over a range symmetric around zero.
QCPColorGradient ExponentGradient() {
    QCPColorGradient g;
    g.clearColorStops();
    g.setColorStopAt(0.0, QColor(15, 25, 120));
    g.setColorStopAt(0.25, kSettles);
    g.setColorStopAt(0.5, QColor(255, 255, 255));
    g.setColorStopAt(0.75, QColor(245, 150, 40));
    g.setColorStopAt(1.0, QColor(150, 15, 15));
    g.setLevelCount(512);
    return g;
}

// The classes painted by a colour of their own, at 0, 1 and 2.
int ClassLevel(EClass c) {
    return c == EClass::Cycles ? 0 : c == EClass::Explosive ? 1 : 2;
}

QCPColorGradient ClassGradient() {
    QCPColorGradient g;
    g.clearColorStops();
    g.setColorStopAt(0.0, CMapPlot::ClassColour(EClass::Cycles));
    g.setColorStopAt(0.5, CMapPlot::ClassColour(EClass::Explosive));
    g.setColorStopAt(1.0, CMapPlot::ClassColour(EClass::Diverged));
    g.setLevelCount(3);
    return g;
}

// A colour map that goes into a PDF as the image of its cells, which the page scales: QCustomPlot
// would paint it first into a bitmap of three times the page's size (5 GB for a page of 8192
// points, with two maps).
class CCellMap : public QCPColorMap {
public:
    using QCPColorMap::QCPColorMap;

protected:
    void draw(QCPPainter* painter) override {
        const bool vector = painter->modes().testFlag(QCPPainter::pmVectorized);
        painter->setMode(QCPPainter::pmVectorized, false);
        QCPColorMap::draw(painter);
        painter->setMode(QCPPainter::pmVectorized, vector);
    }
};

QCPGraph* LegendEntry(QCustomPlot* plot, const QString& name, const QColor& colour) {
    QCPGraph* g = plot->addGraph();
    g->setName(name);
    g->setLineStyle(QCPGraph::lsNone);
    g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, colour, colour, 9));
    return g;
}

} // namespace

QColor CMapPlot::ClassColour(EClass c) {
    switch (c) {
    case EClass::Cycles:
        return QColor(150, 215, 150);
    case EClass::Explosive:
        return QColor(120, 40, 150);
    case EClass::Diverged:
        return QColor(150, 150, 150);
    case EClass::Settles:
        return kSettles;
    case EClass::Chaos:
        return kChaos;
    default:
        return Qt::transparent;
    }
}

CMapPlot::CMapPlot(QWidget* parent) : QCustomPlot(parent) {
    m_pMap = new CCellMap(xAxis, yAxis);
    m_pMap->setInterpolate(false);
    m_pClasses = new CCellMap(xAxis, yAxis);
    m_pClasses->setInterpolate(false);
    m_pClasses->setGradient(ClassGradient());
    m_pClasses->setDataRange(QCPRange(0, 2));
    m_pScale = new QCPColorScale(this);
    plotLayout()->addElement(0, 1, m_pScale);
    m_pScale->axis()->setLabel("largest Lyapunov exponent (per unit model time)");
    m_pMap->setColorScale(m_pScale);
    m_pMap->setGradient(ExponentGradient());
    m_pMap->setDataRange(QCPRange(-1, 1));
    // Nothing computed yet: an empty plane, not a map of zeros.
    for (QCPColorMap* m : {m_pMap, m_pClasses}) {
        m->data()->setSize(1, 1);
        m->data()->setAlpha(0, 0, 0);
    }
    auto* margins = new QCPMarginGroup(this);
    axisRect()->setMarginGroup(QCP::msBottom | QCP::msTop, margins);
    m_pScale->setMarginGroup(QCP::msBottom | QCP::msTop, margins);

    // The legend under the map, one row.
    legend->setVisible(true);
    axisRect()->insetLayout()->take(legend);
    auto* row = new QCPLayoutGrid;
    plotLayout()->addElement(1, 0, row);
    plotLayout()->setRowStretchFactor(1, 0.001);
    row->addElement(0, 0, legend);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(4);
    legend->setBorderPen(Qt::NoPen);
    m_pMap->removeFromLegend();
    m_pClasses->removeFromLegend();
    LegendEntry(this, QString::fromUtf8("settles (λ < 0)"), kSettles);
    LegendEntry(this, QString::fromUtf8("≈ 0: cycles"), ClassColour(EClass::Cycles));
    LegendEntry(this, QString::fromUtf8("chaos (λ > 0)"), kChaos);
    LegendEntry(this, "explosive", ClassColour(EClass::Explosive));
    LegendEntry(this, "diverged", ClassColour(EClass::Diverged));
    // What the map describes, above it, so that a saved picture says it too.
    plotLayout()->insertRow(0);
    m_pTitle = new QCPTextElement(this, "");
    plotLayout()->addElement(0, 0, m_pTitle);
    plotLayout()->setRowStretchFactor(0, 0.001);

    m_pZeroLine = addGraph();
    m_pZeroLine->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    m_pZeroLine->setName("Qelmeter zero");
    m_pZeroLine->setVisible(false);
    m_pZeroLine->removeFromLegend();
    m_pSteadyEdge = addGraph();
    m_pSteadyEdge->setName("edge of a stable steady state");
    m_pSteadyEdge->setLineStyle(QCPGraph::lsNone);
    m_pSteadyEdge->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssDisc, Qt::black, Qt::black, 4));
    m_pSteadyEdge->setVisible(false);
    m_pSteadyEdge->removeFromLegend();
    m_pCross = addGraph();
    m_pCross->setLineStyle(QCPGraph::lsNone);
    m_pCross->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCross, QPen(Qt::black, 2), Qt::NoBrush, 14));
    m_pCross->removeFromLegend();
    m_pZeroNote = new QCPItemText(this);
    m_pZeroNote->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pZeroNote->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_pZeroNote->position->setCoords(0.01, 0.01);
    m_pZeroNote->setBrush(QColor(255, 255, 255, 230));
    m_pZeroNote->setPadding(QMargins(4, 2, 4, 2));
    m_pZeroNote->setVisible(false);
}

void CMapPlot::Start(const CSweep& sweep, double current1, double current2) {
    m_sweep = sweep;
    const int w = sweep.nCount[0], h = sweep.nCount[1];
    m_cells.assign(static_cast<size_t>(w) * h, CMapCell{});
    m_vnSpacing.assign(m_cells.size(), std::numeric_limits<int>::max());
    for (QCPColorMap* m : {m_pMap, m_pClasses}) {
        m->data()->setSize(w, h);
        m->data()->setRange(QCPRange(sweep.lo[0], sweep.hi[0]), QCPRange(sweep.lo[1], sweep.hi[1]));
        m->data()->fill(0);
        m->data()->fillAlpha(0); // nothing known yet: show the background
    }
    m_pMap->setDataRange(QCPRange(-1, 1));
    xAxis->setLabel(QString::fromStdString(AxisTitle(sweep.nKind, sweep.nAxis[0])));
    yAxis->setLabel(QString::fromStdString(AxisTitle(sweep.nKind, sweep.nAxis[1])));
    // Half a cell beyond the ends, so the edge cells show whole.
    const double hw = w > 1 ? (sweep.hi[0] - sweep.lo[0]) / (w - 1) / 2 : 0.5;
    const double hh = h > 1 ? (sweep.hi[1] - sweep.lo[1]) / (h - 1) / 2 : 0.5;
    xAxis->setRange(sweep.lo[0] - hw, sweep.hi[0] + hw);
    yAxis->setRange(sweep.lo[1] - hh, sweep.hi[1] + hh);
    m_pCross->setData(QVector<double>{current1}, QVector<double>{current2});
    m_pTitle->setText(
        QString::fromStdString(DescribeMethod(sweep.run, sweep.base.params.half * 2)));
    m_pSteadyEdge->data()->clear();
    m_pSteadyEdge->setVisible(sweep.bSteadyStates);
    if (sweep.bSteadyStates)
        m_pSteadyEdge->addToLegend();
    else
        m_pSteadyEdge->removeFromLegend();
    ShowQelmeterLine(m_pZeroLine->visible());
}

void CMapPlot::FillBlock(int cell, const CMapCell& result, int spacing) {
    const int w = m_sweep.nCount[0], h = m_sweep.nCount[1];
    const int i0 = cell % w, j0 = cell / w;
    const EClass k = Classify(result.r);
    const bool onScale = k == EClass::Settles || k == EClass::Chaos;
    for (int j = j0; j < std::min(h, j0 + spacing); ++j)
        for (int i = i0; i < std::min(w, i0 + spacing); ++i) {
            int& shown = m_vnSpacing[static_cast<size_t>(j) * w + i];
            const bool self = i == i0 && j == j0;
            if (!self && shown <= spacing)
                continue;
            shown = self ? 0 : spacing;
            m_pMap->data()->setCell(i, j, onScale ? result.r.dExponent : 0.0);
            m_pMap->data()->setAlpha(i, j, onScale ? 255 : 0);
            m_pClasses->data()->setCell(i, j, onScale ? 0 : ClassLevel(k));
            m_pClasses->data()->setAlpha(i, j, onScale ? 0 : 255);
        }
}

void CMapPlot::SetCell(int cell, const CMapCell& result) {
    if (cell < 0 || cell >= static_cast<int>(m_cells.size()) ||
        result.r.eOutcome == EOutcome::Cancelled)
        return;
    m_cells[cell] = result;
    FillBlock(cell, result, CellSpacing(m_sweep.nCount[0], m_sweep.nCount[1], cell));
}

void CMapPlot::UpdateSteadyEdge() {
    if (!m_sweep.bSteadyStates)
        return;
    const int w = m_sweep.nCount[0], h = m_sweep.nCount[1];
    QVector<double> keys, values;
    auto stable = [&](int i, int j) { return m_cells[static_cast<size_t>(j) * w + i].nStable; };
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            if (stable(i, j) != 1)
                continue;
            // A cell with a stable steady state beside one without lies on the edge.
            const bool edge =
                (i > 0 && stable(i - 1, j) == 0) || (i + 1 < w && stable(i + 1, j) == 0) ||
                (j > 0 && stable(i, j - 1) == 0) || (j + 1 < h && stable(i, j + 1) == 0);
            if (edge) {
                keys.push_back(SweepValue(m_sweep.lo[0], m_sweep.hi[0], i, w));
                values.push_back(SweepValue(m_sweep.lo[1], m_sweep.hi[1], j, h));
            }
        }
    m_pSteadyEdge->setData(keys, values);
}

void CMapPlot::Refresh() {
    // The scale reaches the 95th percentile of the exponents' sizes, so that a few extreme
    // cells do not wash out the rest; beyond it colours stay at the ends.
    std::vector<double> sizes;
    for (const CMapCell& c : m_cells) {
        const EClass k = Classify(c.r);
        if (k == EClass::Settles || k == EClass::Chaos)
            sizes.push_back(std::fabs(c.r.dExponent));
    }
    double range = 1;
    if (!sizes.empty()) {
        const size_t at = std::min(sizes.size() - 1, sizes.size() * 95 / 100);
        std::nth_element(sizes.begin(), sizes.begin() + at, sizes.end());
        range = std::max(sizes[at], 1e-3);
    }
    m_pMap->setDataRange(QCPRange(-range, range));
    UpdateSteadyEdge();
    replot();
}

bool CMapPlot::CanShowQelmeterLine() const {
    return m_sweep.nKind == SORVAN_KIND && m_sweep.nAxis[0] < 4 && m_sweep.nAxis[1] < 4 &&
           m_sweep.nAxis[0] != m_sweep.nAxis[1];
}

namespace {

// The second axis' value on the line a d = b c at the first axis' value p1 (a d - b c is
// affine in each parameter); NaN where no value lies on it.
double ZeroLineAt(const CSweep& s, double p1) {
    auto qel = [&](double p2) {
        double v[4] = {s.base.params.a, s.base.params.b, s.base.params.c, s.base.params.d};
        v[s.nAxis[0]] = p1;
        v[s.nAxis[1]] = p2;
        return Qelmeter(v[0], v[1], v[2], v[3]);
    };
    const double q0 = qel(0), slope = qel(1) - q0;
    return slope != 0 ? -q0 / slope : std::nan("");
}

} // namespace

void CMapPlot::ShowQelmeterLine(bool show) {
    QVector<double> keys, values;
    if (show && CanShowQelmeterLine()) {
        const int n = 600;
        for (int k = 0; k <= n; ++k) {
            const double p1 = SweepValue(m_sweep.lo[0], m_sweep.hi[0], k, n + 1);
            keys.push_back(p1);
            values.push_back(ZeroLineAt(m_sweep, p1));
        }
    }
    m_pZeroLine->setData(keys, values, true);
    m_pZeroLine->setVisible(show);
    const QString outside = show ? QelmeterLineOutside() : QString();
    m_pZeroNote->setText(outside);
    m_pZeroNote->setVisible(!outside.isEmpty());
}

QString CMapPlot::QelmeterLineOutside() const {
    if (!CanShowQelmeterLine())
        return {};
    const int n = 600;
    for (int k = 0; k <= n; ++k) {
        const double v = ZeroLineAt(m_sweep, SweepValue(m_sweep.lo[0], m_sweep.hi[0], k, n + 1));
        if (v >= m_sweep.lo[1] && v <= m_sweep.hi[1])
            return {};
    }
    const QString first = QString::fromStdString(AxisKey(m_sweep.nAxis[0]));
    const QString second = QString::fromStdString(AxisKey(m_sweep.nAxis[1]));
    const double mid = 0.5 * (m_sweep.lo[0] + m_sweep.hi[0]);
    const double at = ZeroLineAt(m_sweep, mid);
    if (!std::isfinite(at))
        return "The Qelmeter zero line a d = b c does not cross this map.";
    return QString("The Qelmeter zero line a d = b c lies outside the map:\n"
                   "at %1 = %2 it is at %3 = %4 (the map shows %3 from %5 to %6).")
        .arg(first)
        .arg(mid, 0, 'g', 6)
        .arg(second)
        .arg(at, 0, 'g', 4)
        .arg(m_sweep.lo[1], 0, 'g', 6)
        .arg(m_sweep.hi[1], 0, 'g', 6);
}

int CMapPlot::CellAt(const QPointF& pos) const {
    const int w = m_sweep.nCount[0], h = m_sweep.nCount[1];
    if (m_cells.empty() || !axisRect()->rect().contains(pos.toPoint()))
        return -1;
    int i = 0, j = 0;
    m_pMap->data()->coordToCell(xAxis->pixelToCoord(pos.x()), yAxis->pixelToCoord(pos.y()), &i, &j);
    return i >= 0 && i < w && j >= 0 && j < h ? j * w + i : -1;
}

#include "app/BifurcationPlot.h"

#include <cmath>

using namespace qel;

CBifurcationPlot::CBifurcationPlot(QWidget* parent) : QCustomPlot(parent) {
    m_pDiverged = new QCPBars(xAxis, yAxis);
    m_pDiverged->setPen(Qt::NoPen);
    m_pDiverged->setBrush(QColor(150, 150, 150));
    m_pDiverged->setWidthType(QCPBars::wtPlotCoords);
    m_pPoints = addGraph();
    m_pPoints->setLineStyle(QCPGraph::lsNone);
    m_pPoints->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(20, 40, 150), 2.5));
    m_pPoints->setAdaptiveSampling(true);
    m_pCurrent = new QCPItemStraightLine(this);
    m_pCurrent->setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
}

void CBifurcationPlot::Start(const CSweep& sweep, double current) {
    m_sweep = sweep;
    m_columns.assign(static_cast<size_t>(sweep.nCount[0]), CColumnResult{{}, EOutcome::Cancelled});
    m_pPoints->data()->clear();
    m_pDiverged->data()->clear();
    const int n = sweep.nCount[0];
    const double step = n > 1 ? (sweep.hi[0] - sweep.lo[0]) / (n - 1) : 1.0;
    m_pDiverged->setWidth(step);
    xAxis->setLabel(QString::fromStdString(ParameterTitle(sweep.nKind, sweep.nParam[0])));
    yAxis->setLabel(QString::fromStdString(VariableTitle(sweep.nKind, sweep.nVariable)) +
                    " (local maxima)");
    xAxis->setRange(sweep.lo[0] - step / 2, sweep.hi[0] + step / 2);
    yAxis->setRange(0, 1);
    m_pCurrent->point1->setCoords(current, 0);
    m_pCurrent->point2->setCoords(current, 1);
}

void CBifurcationPlot::SetColumn(int column, const CColumnResult& result) {
    if (column < 0 || column >= static_cast<int>(m_columns.size()) ||
        result.eOutcome == EOutcome::Cancelled)
        return;
    m_columns[column] = result;
    const double v = SweepValue(m_sweep.lo[0], m_sweep.hi[0], column, m_sweep.nCount[0]);
    if (result.eOutcome == EOutcome::Diverged) {
        m_pDiverged->addData(v, 1.0);
        return;
    }
    QVector<double> keys(static_cast<int>(result.maxima.size()), v);
    QVector<double> values(result.maxima.begin(), result.maxima.end());
    m_pPoints->addData(keys, values, true);
}

void CBifurcationPlot::Refresh() {
    bool found = false;
    QCPRange range = m_pPoints->getValueRange(found);
    if (found) {
        const double pad = range.size() > 0 ? range.size() * 0.05 : 0.5;
        yAxis->setRange(range.lower - pad, range.upper + pad);
    }
    // Diverged columns fill the whole height.
    for (auto it = m_pDiverged->data()->begin(); it != m_pDiverged->data()->end(); ++it)
        it->value = yAxis->range().upper;
    m_pDiverged->setBaseValue(yAxis->range().lower);
    replot();
}

int CBifurcationPlot::ColumnAt(const QPointF& pos) const {
    const int n = m_sweep.nCount[0];
    if (m_columns.empty() || !axisRect()->rect().contains(pos.toPoint()))
        return -1;
    const double v = xAxis->pixelToCoord(pos.x());
    const double step = n > 1 ? (m_sweep.hi[0] - m_sweep.lo[0]) / (n - 1) : 1.0;
    const int c = static_cast<int>(std::floor((v - m_sweep.lo[0]) / step + 0.5));
    return c >= 0 && c < n ? c : -1;
}

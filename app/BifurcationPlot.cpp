#include "app/BifurcationPlot.h"

#include <algorithm>
#include <cmath>

using namespace qel;

CBifurcationPlot::CBifurcationPlot(QWidget* parent) : QCustomPlot(parent) {
    m_pDiverged = new QCPBars(xAxis, yAxis);
    m_pExplosive = new QCPBars(xAxis, yAxis);
    for (QCPBars* bars : {m_pDiverged, m_pExplosive}) {
        bars->setPen(Qt::NoPen);
        bars->setWidthType(QCPBars::wtPlotCoords);
    }
    m_pDiverged->setBrush(QColor(150, 150, 150));
    m_pDiverged->setName("diverged");
    m_pExplosive->setBrush(QColor(120, 40, 150));
    m_pExplosive->setName("explosive");
    m_pPoints = addGraph();
    m_pPoints->setName("local maxima");
    m_pPoints->setLineStyle(QCPGraph::lsNone);
    m_pPoints->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(20, 40, 150), 2.5));
    m_pPoints->setAdaptiveSampling(true);
    m_pSteady = addGraph();
    m_pSteady->setName("steady state");
    m_pSteady->setLineStyle(QCPGraph::lsNone);
    m_pSteady->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, QColor(20, 150, 60), 4));
    legend->setVisible(true);
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
    legend->setWrap(4);
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignRight);
    plotLayout()->insertRow(0);
    m_pTitle = new QCPTextElement(this, "");
    plotLayout()->addElement(0, 0, m_pTitle);
    plotLayout()->setRowStretchFactor(0, 0.001);
    m_pCurrent = new QCPItemStraightLine(this);
    m_pCurrent->setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
    m_pCurrent->setVisible(false); // no current value before a diagram starts
}

void CBifurcationPlot::Start(const CSweep& sweep, double current) {
    m_sweep = sweep;
    m_columns.assign(static_cast<size_t>(sweep.nCount[0]), CColumnResult{{}, EOutcome::Cancelled});
    m_pPoints->data()->clear();
    m_pSteady->data()->clear();
    m_pDiverged->data()->clear();
    m_pExplosive->data()->clear();
    const int n = sweep.nCount[0];
    const double step = n > 1 ? (sweep.hi[0] - sweep.lo[0]) / (n - 1) : 1.0;
    m_pDiverged->setWidth(step);
    m_pExplosive->setWidth(step);
    CRunLength run;
    run.eMethod = sweep.diagram.eMethod;
    run.dTolerance = sweep.diagram.dTolerance;
    m_pTitle->setText(QString::fromStdString(DescribeMethod(run, sweep.base.params.half * 2)));
    xAxis->setLabel(QString::fromStdString(AxisTitle(sweep.nKind, sweep.nAxis[0])));
    yAxis->setLabel(QString::fromStdString(VariableTitle(sweep.nKind, sweep.nVariable)) +
                    " (local maxima)");
    xAxis->setRange(sweep.lo[0] - step / 2, sweep.hi[0] + step / 2);
    yAxis->setRange(0, 1);
    m_pCurrent->point1->setCoords(current, 0);
    m_pCurrent->point2->setCoords(current, 1);
    m_pCurrent->setVisible(true);
}

void CBifurcationPlot::SetColumn(int column, const CColumnResult& result) {
    if (column < 0 || column >= static_cast<int>(m_columns.size()) ||
        result.eOutcome == EOutcome::Cancelled)
        return;
    m_columns[column] = result;
    const double v = SweepValue(m_sweep.lo[0], m_sweep.hi[0], column, m_sweep.nCount[0]);
    if (result.eOutcome == EOutcome::Diverged || result.eOutcome == EOutcome::Explosive) {
        (result.eOutcome == EOutcome::Diverged ? m_pDiverged : m_pExplosive)->addData(v, 1.0);
        return;
    }
    QVector<double> keys(static_cast<int>(result.maxima.size()), v);
    QVector<double> values(result.maxima.begin(), result.maxima.end());
    (result.bSteady ? m_pSteady : m_pPoints)->addData(keys, values, true);
}

void CBifurcationPlot::Refresh() {
    bool found = false, foundSteady = false;
    QCPRange range = m_pPoints->getValueRange(found);
    const QCPRange steady = m_pSteady->getValueRange(foundSteady);
    if (foundSteady)
        range = found ? QCPRange(std::min(range.lower, steady.lower),
                                 std::max(range.upper, steady.upper))
                      : steady;
    if (found || foundSteady) {
        const double pad = range.size() > 0 ? range.size() * 0.05 : 0.5;
        yAxis->setRange(range.lower - pad, range.upper + pad);
    }
    // Explosive and diverged columns fill the whole height.
    for (QCPBars* bars : {m_pDiverged, m_pExplosive}) {
        for (auto it = bars->data()->begin(); it != bars->data()->end(); ++it)
            it->value = yAxis->range().upper;
        bars->setBaseValue(yAxis->range().lower);
    }
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

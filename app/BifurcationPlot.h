#pragma once
#include "analysis/Sweep.h"

#include <qcustomplot.h>
#include <vector>

// A bifurcation diagram: the local maxima of one variable over the swept parameter, diverged
// columns as grey bars, the current value as a vertical line.
class CBifurcationPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit CBifurcationPlot(QWidget* parent = nullptr);

    void Start(const qel::CSweep& sweep, double current);
    void SetColumn(int column, const qel::CColumnResult& result);
    // Fits the variable's axis to the points so far and repaints.
    void Refresh();

    // Column under a widget position, -1 outside the diagram.
    int ColumnAt(const QPointF& pos) const;
    const std::vector<qel::CColumnResult>& Columns() const { return m_columns; }
    const qel::CSweep& Sweep() const { return m_sweep; }
    QCPGraph* Points() const { return m_pPoints; }
    QCPBars* DivergedBars() const { return m_pDiverged; }

private:
    qel::CSweep m_sweep;
    std::vector<qel::CColumnResult> m_columns;
    QCPGraph* m_pPoints = nullptr;
    QCPBars* m_pDiverged = nullptr;
    QCPItemStraightLine* m_pCurrent = nullptr;
};

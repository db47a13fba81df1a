#pragma once
#include "analysis/Sweep.h"

#include <qcustomplot.h>
#include <vector>

// A bifurcation diagram: the local maxima of one variable over the swept axis; a column that
// settles shows its steady value in a colour of its own, explosive and diverged columns are
// bars of theirs; the current value is a vertical line; the title says what it describes.
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
    QCPBars* ExplosiveBars() const { return m_pExplosive; }
    QCPGraph* SteadyPoints() const { return m_pSteady; }
    QCPTextElement* Title() const { return m_pTitle; }

private:
    qel::CSweep m_sweep;
    std::vector<qel::CColumnResult> m_columns;
    QCPGraph* m_pPoints = nullptr;
    QCPBars *m_pDiverged = nullptr, *m_pExplosive = nullptr;
    QCPGraph* m_pSteady = nullptr;
    QCPTextElement* m_pTitle = nullptr;
    QCPItemStraightLine* m_pCurrent = nullptr;
};

#pragma once
#include "analysis/Sweep.h"

#include <qcustomplot.h>
#include <vector>

// A stability map: the largest Lyapunov exponent of each cell as a colour, cool below zero,
// warm above, white at zero and grey where the economy diverged; the current parameters as a
// cross and, if asked for, the Qelmeter's zero line.
class CMapPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit CMapPlot(QWidget* parent = nullptr);

    // A new, empty map; (current1, current2) is where the cross goes.
    void Start(const qel::CSweep& sweep, double current1, double current2);
    // Until the cell's finer neighbours arrive, it stands in for them.
    void SetCell(int cell, const qel::CLyapunovResult& result);
    // Recolours to the values so far and repaints.
    void Refresh();
    // The line a d = b c through the map, for maps over two of a..d of the economic model.
    bool CanShowQelmeterLine() const;
    void ShowQelmeterLine(bool show);

    // Cell under a widget position, -1 outside the map.
    int CellAt(const QPointF& pos) const;
    // Exact results; Cancelled for cells not computed yet.
    const std::vector<qel::CLyapunovResult>& Cells() const { return m_cells; }
    const qel::CSweep& Sweep() const { return m_sweep; }
    QCPColorMap* ColorMap() const { return m_pMap; }
    QCPColorScale* ColorScale() const { return m_pScale; }
    QCPGraph* QelmeterLine() const { return m_pZeroLine; }
    QCPGraph* Cross() const { return m_pCross; }

private:
    void FillBlock(int cell, double value, int spacing);

    qel::CSweep m_sweep;
    std::vector<qel::CLyapunovResult> m_cells;
    std::vector<int> m_vnSpacing; // spacing of the value shown in each cell; 0: exact
    QCPColorMap* m_pMap = nullptr;
    QCPColorScale* m_pScale = nullptr;
    QCPGraph* m_pCross = nullptr;
    QCPGraph* m_pZeroLine = nullptr;
};

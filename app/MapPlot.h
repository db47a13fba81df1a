#pragma once
#include "analysis/Sweep.h"

#include <qcustomplot.h>
#include <vector>

// A stability map. Cells whose economy settles or turns chaotic show their largest Lyapunov
// exponent on a scale symmetric around zero (blue below, red above); cycles, explosive and
// diverged cells have colours of their own, named in the legend. The current values are a
// cross; on request the edge of where a stable steady state exists, and for the economic model
// the Qelmeter's zero line (or, when it misses the map, where it lies).
class CMapPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit CMapPlot(QWidget* parent = nullptr);

    // A new, empty map; (current1, current2) is where the cross goes.
    void Start(const qel::CSweep& sweep, double current1, double current2);
    // Until the cell's finer neighbours arrive, it stands in for them.
    void SetCell(int cell, const qel::CMapCell& result);
    // Recolours to the values so far and repaints.
    void Refresh();
    // The line a d = b c through the map, for maps over two of a..d of the economic model.
    bool CanShowQelmeterLine() const;
    void ShowQelmeterLine(bool show);
    // Where the zero line lies when none of it falls inside the map; empty when it does.
    QString QelmeterLineOutside() const;

    // Cell under a widget position, -1 outside the map.
    int CellAt(const QPointF& pos) const;
    // Exact results; Cancelled for cells not computed yet.
    const std::vector<qel::CMapCell>& Cells() const { return m_cells; }
    const qel::CSweep& Sweep() const { return m_sweep; }
    QCPColorMap* ColorMap() const { return m_pMap; }
    QCPColorMap* ClassMap() const { return m_pClasses; }
    QCPColorScale* ColorScale() const { return m_pScale; }
    QCPGraph* QelmeterLine() const { return m_pZeroLine; }
    QCPItemText* QelmeterNote() const { return m_pZeroNote; }
    QCPGraph* SteadyEdge() const { return m_pSteadyEdge; }
    QCPGraph* Cross() const { return m_pCross; }
    QCPTextElement* Title() const { return m_pTitle; }
    // The colour a class is painted in (cycles, explosive, diverged); settles and chaos take
    // the scale's.
    static QColor ClassColour(qel::EClass c);

private:
    void FillBlock(int cell, const qel::CMapCell& result, int spacing);
    void UpdateSteadyEdge();

    qel::CSweep m_sweep;
    std::vector<qel::CMapCell> m_cells;
    std::vector<int> m_vnSpacing; // spacing of the value shown in each cell; 0: exact
    QCPColorMap* m_pMap = nullptr;
    QCPColorMap* m_pClasses = nullptr;
    QCPColorScale* m_pScale = nullptr;
    QCPGraph* m_pCross = nullptr;
    QCPGraph* m_pZeroLine = nullptr;
    QCPItemText* m_pZeroNote = nullptr;
    QCPGraph* m_pSteadyEdge = nullptr;
    QCPTextElement* m_pTitle = nullptr;
};

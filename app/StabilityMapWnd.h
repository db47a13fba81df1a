#pragma once
#include "app/AnalysisWnd.h"
#include "app/MapPlot.h"

class QCheckBox;

// "Stability Map...": the largest Lyapunov exponent over two axes, each cell run until its
// error is below the target, filled in coarse to fine; a click on a cell puts its values into
// the main window.
class CStabilityMapWnd : public CAnalysisWnd {
    Q_OBJECT
public:
    CStabilityMapWnd(CRecordHost& host, QWidget* owner);

    CMapPlot* Plot() const { return m_pPlot; }
    QSpinBox *m_pGridW = nullptr, *m_pGridH = nullptr;
    QCheckBox *m_pZeroLine = nullptr, *m_pSteady = nullptr;
    QDoubleSpinBox* m_pError = nullptr;
    // All three exponents and the Kaplan-Yorke dimension at the cross, beside the map.
    QLabel* m_pSpectrum = nullptr;
    CParamRow m_rows[2];

    // What the cell under pos holds, as the window tells it on hover.
    QString DescribeCell(int cell) const;
    void ClickCell(int cell);

protected:
    void ResetSettings() override;
    bool ReadSettings(qel::CSweep& sweep) override;
    void Launch(const qel::CSweep& sweep) override;
    void Redraw() override;
    bool SaveData(const std::string& path) override;

private:
    CMapPlot* m_pPlot = nullptr;
    CRunner* m_pSpectrumRunner = nullptr;
};

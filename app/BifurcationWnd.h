#pragma once
#include "app/AnalysisWnd.h"
#include "app/BifurcationPlot.h"

// "Bifurcation Diagram...": the local maxima of a variable over one axis, each column after
// its transient has died away; a click on a column puts its value into the main window.
class CBifurcationWnd : public CAnalysisWnd {
    Q_OBJECT
public:
    CBifurcationWnd(CRecordHost& host, QWidget* owner);

    CBifurcationPlot* Plot() const { return m_pPlot; }
    QSpinBox *m_pColumns = nullptr, *m_pMaxima = nullptr;
    QComboBox* m_pVariable = nullptr;
    CParamRow m_row;

    QString DescribeColumn(int column) const;
    void ClickColumn(int column);

protected:
    void ResetSettings() override;
    bool ReadSettings(qel::CSweep& sweep) override;
    void Launch(const qel::CSweep& sweep) override;
    void Redraw() override;
    bool SaveData(const std::string& path) override;

private:
    CBifurcationPlot* m_pPlot = nullptr;
};

#pragma once
#include "analysis/Sweep.h"

#include <QWidget>

class CRecordHost;
class CRunner;
class QComboBox;
class QDoubleSpinBox;
class QCustomPlot;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

// What the stability map and the bifurcation diagram share: a window beside the main one with
// settings, Compute, a progress bar, Cancel and the two Save buttons. The work goes through
// the runner (app/Runner.h); closing the window cancels it.
class CAnalysisWnd : public QWidget {
    Q_OBJECT
public:
    CAnalysisWnd(CRecordHost& host, QWidget* owner, const QString& title);
    ~CAnalysisWnd() override;

    // Brings the settings in line with the host's kind, then shows the window.
    void Open();
    void OnCompute();
    void OnCancel();
    bool IsComputing() const;

    QPushButton *m_btnCompute = nullptr, *m_btnCancel = nullptr, *m_btnSavePicture = nullptr,
                *m_btnSaveData = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QLabel* m_pStatus = nullptr;
    // What the analysis describes (Equations or As drawn) and how long it runs, in model time.
    QComboBox* m_pMethod = nullptr;
    QDoubleSpinBox *m_pTransient = nullptr, *m_pLongest = nullptr;

protected:
    // Axis choice with its range boxes; the range follows the axis' limits. The choice lists
    // the parameters the kind uses, the start values X0, Y0, Z0 and the Variation.
    struct CParamRow {
        QComboBox* pParam = nullptr;
        QLineEdit *pLo = nullptr, *pHi = nullptr;
    };
    CParamRow AddParamRow(int row, const QString& label);
    void FillParamRow(CParamRow& r, int param);
    // False (after telling the user) when the range boxes do not hold LO below HI.
    bool ReadRange(const CParamRow& r, double& lo, double& hi);
    int ParamOf(const CParamRow& r) const;
    qel::EMethod Method() const;

    // The kind changed: choices and ranges back to their defaults.
    virtual void ResetSettings() = 0;
    // The sweep from the settings, false when they are refused.
    virtual bool ReadSettings(qel::CSweep& sweep) = 0;
    // Starts the work on Runner().
    virtual void Launch(const qel::CSweep& sweep) = 0;
    virtual void Redraw() = 0;
    virtual bool SaveData(const std::string& path) = 0;

    // Writes swept values into the host's boxes as a country choice does, and says so (and,
    // for a picture of the equations, that the Run draws them with its own step).
    void WriteToMainWindow(const int* axes, const double* values, int count, qel::EMethod method);
    void MarkChanged() { m_bDirty = true; }
    void ShowStatus(const QString& text);
    CRunner* Runner() const { return m_pRunner; }
    // The picture goes between the settings and the buttons; Save Picture saves it.
    void SetPlot(QCustomPlot* plot);

    CRecordHost& m_host;
    QGridLayout* m_pSettings = nullptr;
    int m_nKind = -1;

private:
    void OnSavePicture();
    void OnSaveData();
    void OnFinished();
    void StopAndWait();
    void closeEvent(QCloseEvent* event) override;

    CRunner* m_pRunner = nullptr;
    QTimer* m_pRedraw = nullptr;
    QCustomPlot* m_pPlotWidget = nullptr;
    bool m_bDirty = false;
    int m_nComputedKind = -1;
};

#pragma once
#include "app/DialogBuilder.h"
#include "countries/XmlDocument.h"
#include "engine/PlotMessages.h"

#include <QDialog>
#include <QString>
#include <list>
#include <memory>
#include <string>

class CAnalysisWnd;
class CAttractor;
class CBMPStatic;
class CClrStatic;
class CDrawWnd;
class CFloatEdit;
class CTimeSeriesWnd;
class CxStatic;
class PARAMETER;
struct CValueBox;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;

struct ParamLabelRow {
    CxStatic* name = nullptr;
    QLabel* low = nullptr;
    QLabel* high = nullptr;
};

// The main window: the attractor's value boxes, the plot, the run buttons and the country
// presets. One modal dialog for the program's whole life.
class CQel2Dlg : public QDialog, public IPlotMessageSink {
    Q_OBJECT
public:
    explicit CQel2Dlg(QWidget* parent = nullptr);
    ~CQel2Dlg() override;

    // Start-up, then the modal loop.
    int DoModal();
    bool OnInitDialog();

    // Run control.
    void OnRun();
    void OnSimulate();
    void OnStop();
    void OnClear();
    void PreparePlot();
    long OnPlotProgress();
    long OnPlotFinished();
    long OnPlotShown();
    long OnPlotMarker(uintptr_t wParam, intptr_t lParam);
    bool IsAccumulating() const;

    // Entry checks.
    void OnEntryChanged(const CValueBox& box);
    void LoadEntriesFromAttractor();
    static QString TrimZeros(const QString& text);
    bool ValidateIntEntry(PARAMETER& param, int id, unsigned labelId, unsigned& target);
    bool ValidateRealEntry(PARAMETER& param, int id, unsigned labelId, QString& target);
    void UpdateQelmeter();
    bool ChecksLimits() const;
    void CopyMembersToControls();

    // Attractor selection and display.
    void OnSelectAttractor(int kind);
    void OnUpdateAttractorMenu();
    void SelectAttractor();
    void ApplyAttractorLayout();
    void RelabelControls();
    void OnDisplayPlane(int plane);

    // Country presets.
    void LoadCountry(const std::string& name);
    void FillCountryList();
    void ApplyCountryToAttractor(const std::string& name);
    void OnCountryChanged();
    void OnAccumulatedCountries();

    // Files.
    void OnSaveParameters();
    QString AskParameterFile();
    void OnSaveAs();
    QImage CaptureBitmap();
    bool WritePicture(const QString& path);

    // Beyond the classic window: parameter files read back, the time plots, the points as data.
    void OnLoadParameters();
    void OnExportTrajectory();
    void OnTimeSeries();
    void UpdateTimeSeries();
    CTimeSeriesWnd* TimeSeriesWnd() const { return m_pTimeSeries; }
    // Analysis windows.
    void OnAnalysis(int command);
    // Swept values into their boxes, marked changed as a country choice marks them.
    void WriteSweptValues(const int* params, const double* values, int count);
    void CloseAnalysisWindows();
    CAnalysisWnd* AnalysisWindow(int command) const;

    // IPlotMessageSink
    long OnPlotMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void OnDrawingStarted(const std::string& status) override;

    QWidget* GetDlgItem(int id) const { return m_builder.GetDlgItem(id); }
    CAttractor* Attractor() const { return m_pAttractor.get(); }
    CDrawWnd* DrawWnd() const { return m_drawWnd; }
    QAction* CommandAction(int id) const;
    QWidget* Client() const { return m_pClient; }

    QComboBox* m_comboCountry = nullptr;
    QLabel* m_staticCountry = nullptr;
    CClrStatic* m_qelmeterCaption = nullptr;
    CxStatic* m_qelmeterValue = nullptr;
    CxStatic* m_status = nullptr;
    QPushButton *m_btnStop = nullptr, *m_btnClear = nullptr, *m_btnSimulate = nullptr,
                *m_btnRun = nullptr;
    CBMPStatic* m_marker = nullptr;
    CFloatEdit* m_edit[13] = {}; // a..g, X, Y, Z, Variation, Iteration, Zoom
    ParamLabelRow m_rows[10];
    QRadioButton* m_display[4] = {};
    CClrStatic* m_equation[3] = {};
    QString m_strParam[7];
    unsigned m_nIteration = 0;
    QString m_strVariation, m_strX, m_strY, m_strZ, m_strZoom;
    QString m_strPreparing, m_strSpilling;
    QProgressBar* m_progress = nullptr;
    QMenuBar* m_pMainMenu = nullptr;
    CDrawWnd* m_drawWnd = nullptr;
    int m_nAttractor = -1;
    std::unique_ptr<CAttractor> m_pAttractor;
    bool m_bSimulating = false, m_bHalted = false, m_bAccepted = false, m_bAccumulate = false;
    std::list<std::string> m_accumulated;
    int m_nProgressDivisor = 0, m_nProgressCount = 0;
    int m_nPlane = 0;
    CXmlDocument m_countries;
    bool m_bCountriesLoaded = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void LimitInsertedText(QLineEdit* edit);
    void BuildMenu();
    void BindControls();
    bool RejectEntry(const char* message);
    bool AcceptEntry(PARAMETER& param);
    void RepaintNow();

    QWidget* m_pClient = nullptr;
    CDialogBuilder m_builder;
    QCheckBox* m_accumulateBox = nullptr;
    QLabel* m_accumulatedLabel = nullptr;
    std::map<int, QAction*> m_actions;
    CTimeSeriesWnd* m_pTimeSeries = nullptr; // a child: deleted with the window
    CAnalysisWnd* m_pMapWnd = nullptr;
    CAnalysisWnd* m_pBifurcationWnd = nullptr;
};

// The position of each edit box in CQel2Dlg::m_edit.
enum {
    EDIT_A = 0,
    EDIT_X = 7,
    EDIT_Y = 8,
    EDIT_Z = 9,
    EDIT_VARIATION = 10,
    EDIT_ITERATION = 11,
    EDIT_ZOOM = 12,
};

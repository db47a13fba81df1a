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
class CRecordHost;
class CTimeSeriesWnd;
class CEquilibriaWnd;
class CxStatic;
struct CValueBox;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The main window: the attractor's value boxes, the plot, the run buttons and the country
// presets. One modal dialog for the program's whole life. The windows beside it (time series,
// stability map, bifurcation diagram) see it only through its record host.
class CQel2Dlg : public QDialog, public IPlotMessageSink {
    Q_OBJECT
public:
    explicit CQel2Dlg(QWidget* parent = nullptr);
    ~CQel2Dlg() override;

    // Start-up, then the modal loop.
    int DoModal();
    bool OnInitDialog();

    QWidget* GetDlgItem(int id) const { return m_builder.GetDlgItem(id); }
    QAction* CommandAction(int id) const;
    CRecordHost& Host() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class CHost;
    struct CLabelRow {
        CxStatic* name = nullptr;
        QLabel* low = nullptr;
        QLabel* high = nullptr;
    };

    void BuildControls();
    void LimitInsertedText(QLineEdit* edit);
    void BuildMenu();
    void BindControls();
    void RepaintNow();
    QWidget* Box(const CValueBox& box) const;

    // IPlotMessageSink
    long OnPlotMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
    void OnDrawingStarted(const std::string& status) override;

    // Run control (RunControl.cpp).
    void OnRun();
    void OnSimulate();
    void OnStop();
    void OnClear();
    void PreparePlot();
    long OnPlotProgress();
    long OnPlotFinished();
    long OnPlotShown();
    bool IsAccumulating() const;
    // Stops an animation for a save; the buttons follow.
    void StopForSave();

    // Entry checks (EntryChecks.cpp).
    void OnEntryChanged(const CValueBox& box);
    void LoadEntriesFromAttractor();
    bool ValidateEntry(const CValueBox& box, bool sorvan);
    bool RejectEntry(const char* message);
    void UpdateQelmeter();
    bool ChecksLimits() const;
    void CopyMembersToControls();
    QString& BoundText(const CValueBox& box);

    // Attractor selection and display (AttractorSelection.cpp).
    void OnSelectAttractor(int kind);
    void OnUpdateAttractorMenu();
    void SelectAttractor();
    void AdoptRecord(std::unique_ptr<CAttractor> record);
    void ApplyAttractorLayout();
    void RelabelControls();
    void OnDisplayPlane(int plane);

    // Country presets (Countries.cpp).
    void LoadCountry(const std::string& name);
    void FillCountryList();
    void OnCountryChanged();
    void OnAccumulatedCountries();

    // Files (Files.cpp, ParameterLoad.cpp, TrajectoryExport.cpp).
    void OnSaveParameters();
    void OnSaveAs();
    QImage CaptureBitmap();
    bool WritePicture(const QString& path);
    void OnLoadParameters();
    void OnExportTrajectory();

    // The windows beside this one (SideWindows.cpp).
    void CreateHost();
    void OnSideWindow(int command);
    void CloseSideWindows();

    QWidget* m_pClient = nullptr;
    CDialogBuilder m_builder;
    std::map<int, QAction*> m_actions;
    QComboBox* m_comboCountry = nullptr;
    QLabel* m_staticCountry = nullptr;
    QCheckBox* m_accumulateBox = nullptr;
    QLabel* m_accumulatedLabel = nullptr;
    CClrStatic* m_qelmeterCaption = nullptr;
    CxStatic* m_qelmeterValue = nullptr;
    CxStatic* m_status = nullptr;
    QPushButton *m_btnStop = nullptr, *m_btnClear = nullptr, *m_btnSimulate = nullptr,
                *m_btnRun = nullptr;
    CBMPStatic* m_marker = nullptr;
    CLabelRow m_rows[10];
    QRadioButton* m_display[4] = {};
    CClrStatic* m_equation[3] = {};
    QProgressBar* m_progress = nullptr;
    QMenuBar* m_pMainMenu = nullptr;
    CDrawWnd* m_drawWnd = nullptr;

    // What each box held when a Run last accepted it (or the record was loaded); a refused
    // entry puts these back. In the order of kValueBoxes.
    QString m_strBound[13];
    QString m_strPreparing, m_strSpilling;
    int m_nAttractor = -1;
    std::unique_ptr<CAttractor> m_pAttractor;
    bool m_bSimulating = false, m_bHalted = false, m_bAccepted = false, m_bAccumulate = false;
    std::list<std::string> m_accumulated;
    int m_nProgressDivisor = 0, m_nProgressCount = 0;
    int m_nPlane = 0;
    CXmlDocument m_countries;
    bool m_bCountriesLoaded = false;

    CHost* m_pHost = nullptr; // a child: deleted with the window
    CTimeSeriesWnd* m_pTimeSeries = nullptr;
    CEquilibriaWnd* m_pEquilibria = nullptr;
    CAnalysisWnd* m_pMapWnd = nullptr;
    CAnalysisWnd* m_pBifurcationWnd = nullptr;
};

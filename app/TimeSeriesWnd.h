#pragma once
#include "analysis/TimeEnvelope.h"
#include "app/RecordHost.h"

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class CAttractor;
class QCPAxis;
class QCPAxisRect;
class QCPCurve;
class QCPLegend;
class QCPTextElement;
class QCustomPlot;
class QLabel;
class QProgressBar;
class CRunner;
class QPushButton;

// X, Y and Z of the main window's trajectories against time, in three plots that share one
// time axis. Each pixel column shows the range of the points that fall in it, so a spike is
// never lost among millions of points. Non-modal; while shown it follows its record host's
// trajectories (every Run that renders, attractor switch and parameter load). They integrate
// through the runner, with progress and Cancel; the plots show the earlier ones meanwhile.
class CTimeSeriesWnd : public QWidget {
    Q_OBJECT
public:
    // Without a host it shows only what SetTrajectories gives it.
    CTimeSeriesWnd(CRecordHost* host, QWidget* owner);
    ~CTimeSeriesWnd() override;

    // Shows the window; one that was hidden catches up with the host.
    void Open();

    // Integrates each record's whole trajectory (initial point, then every step) and, once
    // all are done, shows all of it, titled with the three axis names. A build still going
    // is cancelled first.
    void SetTrajectories(std::vector<CNamedRecord> inputs, const std::string (&axisNames)[3]);
    bool IsBuilding() const;
    // Blocks until the trajectories being built are shown (for callers without an event loop).
    void FinishBuilding();
    // The time axis of all three plots, in steps; the view is kept inside the trajectory.
    void SetView(double lo, double hi);
    void ResetView();
    void OnSavePicture();
    void OnSaveData();

    // What is on show, for the tests and the data export.
    int CurveCount() const { return static_cast<int>(m_curves.size()); }
    const qel::CTimeEnvelope& Envelope(int curve) const { return m_curves[curve].envelope; }
    const std::vector<qel::CEnvelopeColumn>& Shown(int curve) const {
        return m_curves[curve].shown;
    }
    QCustomPlot* Plot() const { return m_pPlot; }
    QCPAxisRect* Rect(int axis) const { return m_pRect[axis]; }
    QCPAxis* TimeAxis() const { return m_pTimeAxis; }
    QCPCurve* Graph(int curve, int axis) const { return m_curves[curve].graph[axis]; }
    QString Title(int axis) const;
    double ViewLo() const { return m_dLo; }
    double ViewHi() const { return m_dHi; }
    int Columns() const { return m_nColumns; }

private:
    struct Curve {
        std::string name;
        std::unique_ptr<CAttractor> record;
        qel::CTimeEnvelope envelope;
        QCPCurve* graph[3] = {};
        std::vector<qel::CEnvelopeColumn> shown;
    };
    void Follow();
    void Show(std::vector<Curve> curves, const std::string (&axisNames)[3]);
    void Refresh();
    void OnRangeChanged(QCPAxis* axis);
    int64_t MaxPoints() const;

    CRecordHost* m_pHost;
    QCustomPlot* m_pPlot = nullptr;
    QCPAxisRect* m_pRect[3] = {};
    QCPTextElement* m_pTitle[3] = {};
    QCPAxis* m_pTimeAxis = nullptr;
    QCPLegend* m_pLegend = nullptr;
    QLabel* m_pInfo = nullptr;
    QPushButton* m_pSavePicture = nullptr;
    QPushButton* m_pSaveData = nullptr;
    QProgressBar* m_pProgress = nullptr;
    QPushButton* m_pCancel = nullptr;
    CRunner* m_pRunner = nullptr;
    std::vector<Curve> m_curves, m_building;
    double m_dLo = 0, m_dHi = 1;
    int m_nColumns = 0;
    double m_dStepTime = 0; // model time of one step
    bool m_bSyncing = false, m_bBuilding = false;
};

#include "analysis/RecordSnapshot.h"
#include "app/BifurcationWnd.h"
#include "app/EquilibriaWnd.h"
#include "app/Qel2Dlg.h"
#include "app/RecordHost.h"
#include "app/StabilityMapWnd.h"
#include "app/TimeSeriesWnd.h"
#include "app/ValueBoxes.h"
#include "controls/FloatEdit.h"
#include "countries/CountryPresets.h"
#include "model/Attractor.h"
#include "res/ResourceIds.h"

#include <QScreen>
#include <algorithm>

// The main window as the windows beside it see it.
class CQel2Dlg::CHost : public CRecordHost {
public:
    explicit CHost(CQel2Dlg& dlg) : CRecordHost(&dlg), m_dlg(dlg) {}

    const CAttractor& Record() const override { return *m_dlg.m_pAttractor; }

    std::vector<CNamedRecord> ShownRecords() const override {
        const CAttractor& a = *m_dlg.m_pAttractor;
        std::vector<CNamedRecord> shown;
        // Each accumulated country in turn, as an export draws them.
        if (m_dlg.IsAccumulating() && !m_dlg.m_accumulated.empty()) {
            for (const std::string& name : m_dlg.m_accumulated) {
                CNamedRecord r{name, qel::SnapshotRecord(a)};
                if (r.record)
                    ApplyCountryToAttractor(m_dlg.m_countries, name, *r.record);
                shown.push_back(std::move(r));
            }
        } else {
            shown.push_back({a.GetName(), qel::SnapshotRecord(a)});
        }
        return shown;
    }

    void WriteValues(const int* axes, const double* values, int count) override {
        for (int k = 0; k < count; ++k) {
            const CValueBox* box = axes[k] == 10 ? ValueBoxOf(IDC_VARIATION) : RowValueBox(axes[k]);
            if (!box)
                continue;
            m_dlg.BoundText(*box) = box->Text(values[k]);
            box->Parameter(*m_dlg.m_pAttractor).m_bModified = 1;
            qobject_cast<CFloatEdit*>(m_dlg.Box(*box))->setText(m_dlg.BoundText(*box));
        }
    }

    void MarkPoints(std::vector<CPlotMark> marks) override {
        m_dlg.m_drawWnd->SetMarks(std::move(marks));
    }

private:
    CQel2Dlg& m_dlg;
};

CRecordHost& CQel2Dlg::Host() const {
    return *m_pHost;
}

void CQel2Dlg::CreateHost() {
    m_pHost = new CHost(*this);
}

void CQel2Dlg::OnSideWindow(int command) {
    // A new window goes beside the main one, as far as the screen allows.
    auto place = [this](QWidget* w) {
        const QRect main = frameGeometry();
        QPoint at(main.right() + 8, main.top());
        if (const QScreen* s = screen()) {
            const QRect avail = s->availableGeometry();
            at.setX(std::max(avail.left(), std::min(at.x(), avail.right() - w->width())));
            at.setY(std::max(avail.top(), std::min(at.y(), avail.bottom() - w->height())));
        }
        w->move(at);
    };
    if (command == ID_ANALYSIS_TIME_SERIES) {
        if (!m_pTimeSeries)
            place(m_pTimeSeries = new CTimeSeriesWnd(m_pHost, this));
        m_pTimeSeries->Open();
        return;
    }
    if (command == ID_ANALYSIS_EQUILIBRIA) {
        if (!m_pEquilibria)
            place(m_pEquilibria = new CEquilibriaWnd(*m_pHost, this));
        m_pEquilibria->Open();
        return;
    }
    const bool map = command == ID_ANALYSIS_STABILITY_MAP;
    CAnalysisWnd*& wnd = map ? m_pMapWnd : m_pBifurcationWnd;
    if (!wnd) {
        if (map)
            wnd = new CStabilityMapWnd(*m_pHost, this);
        else
            wnd = new CBifurcationWnd(*m_pHost, this);
        place(wnd);
    }
    wnd->Open();
}

void CQel2Dlg::CloseSideWindows() {
    // Their work must end before the record and the boxes go.
    delete m_pTimeSeries;
    delete m_pEquilibria;
    m_pEquilibria = nullptr;
    delete m_pMapWnd;
    delete m_pBifurcationWnd;
    m_pTimeSeries = nullptr;
    m_pMapWnd = m_pBifurcationWnd = nullptr;
}

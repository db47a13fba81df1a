#include "app/Qel2Dlg.h"
#include "app/TimeSeriesWnd.h"

#include "analysis/RecordSnapshot.h"
#include "countries/CountryPresets.h"
#include "model/Attractor.h"

#include <QGuiApplication>
#include <QScreen>

void CQel2Dlg::OnTimeSeries() {
    const bool fresh = !m_pTimeSeries;
    if (fresh)
        m_pTimeSeries = new CTimeSeriesWnd(this);
    const bool wasVisible = m_pTimeSeries->isVisible();
    if (fresh) {
        // Beside the main window, as far as the screen allows.
        const QRect main = frameGeometry();
        QPoint at(main.right() + 8, main.top());
        if (const QScreen* s = screen()) {
            const QRect avail = s->availableGeometry();
            at.setX(
                std::max(avail.left(), std::min(at.x(), avail.right() - m_pTimeSeries->width())));
            at.setY(
                std::max(avail.top(), std::min(at.y(), avail.bottom() - m_pTimeSeries->height())));
        }
        m_pTimeSeries->move(at);
    }
    m_pTimeSeries->show();
    m_pTimeSeries->raise();
    m_pTimeSeries->activateWindow();
    if (!wasVisible) // a hidden window did not follow the main window
        UpdateTimeSeries();
}

void CQel2Dlg::UpdateTimeSeries() {
    if (!m_pTimeSeries || !m_pTimeSeries->isVisible() || !m_pAttractor)
        return;
    const CAttractor& a = *m_pAttractor;
    std::vector<CSeriesInput> inputs;
    // What the plot shows: each accumulated country in turn, as an export draws them.
    if (IsAccumulating() && !m_accumulated.empty()) {
        for (const std::string& name : m_accumulated) {
            CSeriesInput in{name, SnapshotRecord(a)};
            if (in.record)
                ::ApplyCountryToAttractor(m_countries, name, *in.record);
            inputs.push_back(std::move(in));
        }
    } else {
        inputs.push_back({a.GetName(), SnapshotRecord(a)});
    }
    const std::string names[3] = {a.m_szAxisX, a.m_szAxisY, a.m_szAxisZ};
    m_pTimeSeries->SetTrajectories(std::move(inputs), names);
    m_pTimeSeries->setWindowTitle(QString("QEL - Time Series, %1").arg(a.GetName()));
}

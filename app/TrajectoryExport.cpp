#include "app/FileChoice.h"
#include "app/Qel2Dlg.h"
#include "app/TrajectoryFile.h"

#include "analysis/RecordSnapshot.h"
#include "analysis/TrajectoryCsv.h"
#include "controls/xStatic.h"
#include "engine/DrawWnd.h"
#include "model/Attractor.h"
#include "res/StringTable.h"

#include <QLocale>
#include <QPushButton>
#include <cstdio>

namespace {
constexpr int64_t kSizeNoteFrom = 1000000; // points from which the status names the size
}

void CQel2Dlg::OnExportTrajectory() {
    const auto chosen =
        AskFileInFiles(this, true, "CSV Files (*.csv)|*.csv||", "trajectory.csv", "csv");
    if (!chosen)
        return;
    // The plot's points: the values the last Run accepted, the whole count.
    StopForSave();
    const CAttractor& record = *m_pAttractor;
    const int64_t steps = std::max<int32_t>(record.m_iteration.m_value, 0);
    if (steps + 1 >= kSizeNoteFrom) {
        const QLocale english(QLocale::English);
        const int64_t megabytes = qel::EstimateTrajectoryCsvBytes(record, steps) / 1000000;
        char text[512];
        std::snprintf(text, sizeof text, LoadString(IDS_EXPORT_SIZE),
                      english.toString(static_cast<qlonglong>(steps + 1)).toLatin1().constData(),
                      english.toString(static_cast<qlonglong>(megabytes)).toLatin1().constData());
        m_status->SetWindowText(QString::fromLatin1(text));
        m_status->repaint();
    }
    std::vector<CCsvCurve> curves;
    curves.push_back({"", qel::SnapshotRecord(record), steps});
    ExportTrajectoryCsv(this, QString::fromStdString(*chosen), std::move(curves), 0, steps,
                        [this](bool) { m_status->SetWindowText(""); });
}

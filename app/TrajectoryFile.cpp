#include "app/TrajectoryFile.h"

#include "analysis/TrajectoryCsv.h"
#include "app/FileChoice.h"
#include "app/Runner.h"
#include "model/Attractor.h"
#include "platform/AtomicFile.h"
#include "platform/CsvText.h"
#include "res/StringTable.h"

#include <QProgressDialog>
#include <algorithm>

namespace {

constexpr int64_t kProgressFrom = 200000; // points; smaller files are written without a dialog

int64_t Lines(const CCsvCurve& c, int64_t first, int64_t last) {
    return std::max<int64_t>(0, std::min(last, c.steps) - std::max<int64_t>(first, 0) + 1);
}

// The whole file, on a worker.
bool Write(const std::string& path, const std::vector<CCsvCurve>& curves, int64_t first,
           int64_t last, CRunnerTask& task) {
    platform::CAtomicFile file(path);
    const bool named = curves.size() > 1;
    bool ok = file.Write((named ? "country," : "") +
                         qel::TrajectoryCsvHeader(curves.front().record->GetKind()));
    for (const CCsvCurve& c : curves) {
        int64_t counted = 0;
        ok = ok && qel::WriteTrajectoryCsv(
                       *c.record, c.steps, first, last,
                       named ? platform::CsvField(c.name) + "," : std::string(),
                       [&](const char* text, std::size_t n) { return file.Write(text, n); },
                       [&](int64_t done, int64_t) {
                           task.AddDone(done - counted);
                           counted = done;
                           return !task.Cancelled();
                       });
    }
    return ok && file.Commit();
}

} // namespace

CTrajectoryExport::CTrajectoryExport(QWidget* parent, const QString& path,
                                     std::vector<CCsvCurve> curves, int64_t first, int64_t last,
                                     std::function<void(bool)> done)
    : QObject(parent) {
    int64_t total = 0;
    for (const CCsvCurve& c : curves)
        total += Lines(c, first, last);
    m_pRunner = new CRunner(this);
    if (total >= kProgressFrom) {
        m_pProgress = new QProgressDialog(QString::fromLatin1(LoadString(IDS_EXPORTING)),
                                          QObject::tr("Cancel"), 0, 1000, parent);
        m_pProgress->setWindowModality(Qt::WindowModal);
        m_pProgress->setMinimumDuration(500);
        m_pProgress->setValue(0);
        connect(m_pProgress, &QProgressDialog::canceled, m_pRunner, &CRunner::Cancel);
        connect(m_pRunner, &CRunner::Progress, m_pProgress, [this](qint64 done, qint64 all) {
            if (m_pProgress->wasCanceled())
                m_pRunner->Cancel();
            else
                m_pProgress->setValue(all > 0 ? static_cast<int>(done * 1000 / all) : 0);
        });
    }
    connect(m_pRunner, &CRunner::Finished, this, [this, parent, path, done] {
        // The one result has come by now, unless the job was cancelled before it began.
        const bool cancelled = m_pRunner->WasCancelled(), ok = m_bOk && !cancelled;
        delete m_pProgress;
        m_pProgress = nullptr;
        if (!ok && !cancelled)
            ReportErrorCreatingFile(parent, path);
        if (done)
            done(ok);
        deleteLater();
    });
    auto owned = std::make_shared<const std::vector<CCsvCurve>>(std::move(curves));
    m_pRunner->Start<char>(
        {0},
        [owned, name = path.toStdString(), first, last](int, CRunnerTask& task) -> char {
            return !owned->empty() && Write(name, *owned, first, last, task);
        },
        [this](int, char ok) { m_bOk = ok; }, total);
}

void ExportTrajectoryCsv(QWidget* parent, const QString& path, std::vector<CCsvCurve> curves,
                         int64_t first, int64_t last, std::function<void(bool)> done) {
    new CTrajectoryExport(parent, path, std::move(curves), first, last, std::move(done));
}

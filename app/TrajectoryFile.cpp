#include "app/TrajectoryFile.h"

#include "analysis/TrajectoryCsv.h"
#include "app/FileChoice.h"
#include "model/Attractor.h"
#include "platform/AtomicFile.h"
#include "platform/CsvText.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

namespace {
constexpr int64_t kProgressFrom = 200000; // points; smaller files are written at once
} // namespace

bool SaveTrajectoryCsv(QWidget* parent, const QString& path, const std::vector<CCsvCurve>& curves,
                       int64_t first, int64_t last) {
    if (curves.empty())
        return false;
    platform::CAtomicFile file(path.toStdString());
    if (!file.Open()) {
        ReportErrorCreatingFile(parent, path);
        return false;
    }
    const bool named = curves.size() > 1;
    int64_t total = 0;
    for (const CCsvCurve& c : curves)
        total += std::max<int64_t>(0, std::min(last, c.steps) - std::max<int64_t>(first, 0) + 1);
    std::unique_ptr<QProgressDialog> progress;
    if (total >= kProgressFrom) {
        progress = std::make_unique<QProgressDialog>(QString::fromLatin1(LoadString(IDS_EXPORTING)),
                                                     QObject::tr("Cancel"), 0, 1000, parent);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(500);
        progress->setValue(0);
    }
    bool cancelled = false;
    const std::string header =
        (named ? "country," : "") + TrajectoryCsvHeader(curves.front().record->GetKind());
    bool ok = file.Write(header);
    int64_t before = 0;
    for (const CCsvCurve& c : curves) {
        if (!ok)
            break;
        ok = WriteTrajectoryCsv(
            *c.record, c.steps, first, last,
            named ? platform::CsvField(c.name) + "," : std::string(),
            [&](const char* text, std::size_t n) { return file.Write(text, n); },
            [&](int64_t done, int64_t) {
                if (!progress)
                    return true;
                progress->setValue(static_cast<int>((before + done) * 1000 / total));
                QApplication::processEvents(); // the Cancel button
                cancelled = progress->wasCanceled();
                return !cancelled;
            });
        before += std::max<int64_t>(0, std::min(last, c.steps) - std::max<int64_t>(first, 0) + 1);
    }
    ok = ok && file.Commit();
    if (!ok && !cancelled)
        ReportErrorCreatingFile(parent, path);
    return ok;
}

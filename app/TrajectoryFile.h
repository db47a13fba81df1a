#pragma once
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CAttractor;
class CRunner;
class QProgressDialog;
class QWidget;

// One trajectory to write: the export's own copy of its record (nothing the windows free can
// be under it) and, when several go into one file, its name.
struct CCsvCurve {
    std::string name;
    std::shared_ptr<const CAttractor> record;
    int64_t steps = 0;
};

// An export on its way: the writing runs on the runner, the file goes through the atomic
// writer. A child of the window it was started from until it ends; closing that window
// cancels it and leaves no partial file.
class CTrajectoryExport : public QObject {
    Q_OBJECT
public:
    CTrajectoryExport(QWidget* parent, const QString& path, std::vector<CCsvCurve> curves,
                      int64_t first, int64_t last, std::function<void(bool)> done);

private:
    CRunner* m_pRunner = nullptr;
    QProgressDialog* m_pProgress = nullptr;
    bool m_bOk = false;
};

// Writes the header and the steps first..last of every curve (a leading "country" column when
// there are several) and returns at once. From 200,000 points on, a progress dialog with
// Cancel shows. done(ok) comes on this thread at the end, false when cancelled or failed; a
// failure has been reported with "Error creating file %s" first.
void ExportTrajectoryCsv(QWidget* parent, const QString& path, std::vector<CCsvCurve> curves,
                         int64_t first, int64_t last, std::function<void(bool)> done = {});

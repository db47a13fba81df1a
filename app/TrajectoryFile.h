#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class CAttractor;
class QWidget;

// One trajectory to write: its record and, when several go into one file, its name.
struct CCsvCurve {
    std::string name;
    const CAttractor* record = nullptr;
    int64_t steps = 0;
};

// Writes the header and the steps first..last of every curve (a leading "country" column when
// there are several) into a temporary file that replaces path only when complete. Big files
// get a cancellable progress dialog. False when cancelled or when it failed; a failure has
// been reported with "Error creating file %s". Nothing of a partial file is left.
bool SaveTrajectoryCsv(QWidget* parent, const QString& path, const std::vector<CCsvCurve>& curves,
                       int64_t first, int64_t last);

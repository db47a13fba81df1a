#pragma once
#include "analysis/Sweep.h"

#include <string>
#include <vector>

namespace qel {

// A map as CSV: comment lines (starting with #) that say what the numbers describe and how they
// were measured, a header, then one row per computed cell: both axis values, the exponent and
// its standard error (nan for explosive or diverged cells), the model time measured, the class
// and, when looked for, whether a stable steady state exists (1 or 0). Cells not computed are
// left out. Numbers by platform::FormatCsvNumber.
std::string MapCsvText(const CSweep& s, const std::vector<CMapCell>& cells);

// A diagram as CSV: comment lines, a header, then one row per local maximum ("maximum"), one
// row with the steady value for a column that settles ("steady"), one row with nan for a
// column that explodes or diverges.
std::string DiagramCsvText(const CSweep& s, const std::vector<CColumnResult>& columns);

// The texts into a file through the atomic writer. False when it could not be written, with the
// reason in *error.
bool WriteMapCsv(const std::string& path, const CSweep& s, const std::vector<CMapCell>& cells,
                 std::string* error = nullptr);
bool WriteDiagramCsv(const std::string& path, const CSweep& s,
                     const std::vector<CColumnResult>& columns, std::string* error = nullptr);

} // namespace qel

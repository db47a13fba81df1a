#pragma once
#include "analysis/Sweep.h"

#include <string>
#include <vector>

namespace qel {

// A map as CSV: comment lines (starting with #) that say what the numbers describe and how they
// were measured, a header, then one row per computed cell: both axis values, the exponent and
// its standard error (nan for explosive or diverged cells), the model time measured, the class
// and, when looked for, whether a stable steady state exists (1 or 0). Cells not computed are
// left out. Numbers as %.17g would print them in the "C" locale, whatever the locale.
std::string MapCsvText(const CSweep& s, const std::vector<CMapCell>& cells);

// A diagram as CSV: comment lines, a header, then one row per local maximum ("maximum"), one
// row with the steady value for a column that settles ("steady"), one row with nan for a
// column that explodes or diverges.
std::string DiagramCsvText(const CSweep& s, const std::vector<CColumnResult>& columns);

// The texts into a file, replaced only when all of it was written. False when it could not be.
bool WriteMapCsv(const std::string& path, const CSweep& s, const std::vector<CMapCell>& cells);
bool WriteDiagramCsv(const std::string& path, const CSweep& s,
                     const std::vector<CColumnResult>& columns);

} // namespace qel

#pragma once
#include "analysis/Sweep.h"

#include <string>
#include <vector>

namespace qel {

// One row per cell: both parameter values, the exponent (nan when diverged) and a diverged
// flag; cells not computed are left out. Numbers by platform::FormatCsvNumber, the file through
// the atomic writer. False when it could not be written, with the reason in *error.
bool WriteMapCsv(const std::string& path, const CSweep& s,
                 const std::vector<CLyapunovResult>& cells, std::string* error = nullptr);

// One row per local maximum: the parameter value, the maximum; a diverged column gives one row
// with nan and the diverged flag.
bool WriteDiagramCsv(const std::string& path, const CSweep& s,
                     const std::vector<CColumnResult>& columns, std::string* error = nullptr);

} // namespace qel

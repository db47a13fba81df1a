#include "analysis/SweepCsv.h"

#include "platform/AtomicFile.h"
#include "platform/CsvText.h"

#include <cmath>

namespace qel {

namespace {

const char* const kVariables[3] = {"x", "y", "z"};

std::string Letter(int param) {
    return std::string(1, static_cast<char>('a' + param));
}

// One row: the numbers, then the diverged flag.
bool Row(platform::CAtomicFile& f, std::initializer_list<double> numbers, bool diverged) {
    char line[4 * platform::kCsvNumberMax];
    char* at = line;
    for (double v : numbers) {
        at = platform::FormatCsvNumber(at, v);
        *at++ = ',';
    }
    *at++ = diverged ? '1' : '0';
    *at++ = '\n';
    return f.Write(line, static_cast<std::size_t>(at - line));
}

bool Finish(platform::CAtomicFile& f, bool ok, std::string* error) {
    ok = ok && f.Commit();
    if (!ok && error)
        *error = f.Error();
    return ok;
}

} // namespace

bool WriteMapCsv(const std::string& path, const CSweep& s,
                 const std::vector<CLyapunovResult>& cells, std::string* error) {
    platform::CAtomicFile f(path);
    bool ok = f.Write(Letter(s.nParam[0]) + "," + Letter(s.nParam[1]) + ",lyapunov,diverged\n");
    for (int cell = 0; ok && cell < s.CellCount() && cell < static_cast<int>(cells.size());
         ++cell) {
        const CLyapunovResult& r = cells[cell];
        if (r.eOutcome == EOutcome::Cancelled)
            continue;
        const int i = cell % s.nCount[0], j = cell / s.nCount[0];
        const bool diverged = r.eOutcome == EOutcome::Diverged;
        ok = Row(f,
                 {SweepValue(s.lo[0], s.hi[0], i, s.nCount[0]),
                  SweepValue(s.lo[1], s.hi[1], j, s.nCount[1]),
                  diverged ? std::nan("") : r.dExponent},
                 diverged);
    }
    return Finish(f, ok, error);
}

bool WriteDiagramCsv(const std::string& path, const CSweep& s,
                     const std::vector<CColumnResult>& columns, std::string* error) {
    platform::CAtomicFile f(path);
    bool ok =
        f.Write(Letter(s.nParam[0]) + "," +
                kVariables[s.nVariable < 0 || s.nVariable > 2 ? 0 : s.nVariable] + ",diverged\n");
    for (int c = 0; ok && c < s.nCount[0] && c < static_cast<int>(columns.size()); ++c) {
        const double v = SweepValue(s.lo[0], s.hi[0], c, s.nCount[0]);
        if (columns[c].eOutcome == EOutcome::Diverged)
            ok = Row(f, {v, std::nan("")}, true);
        for (std::size_t m = 0; ok && m < columns[c].maxima.size(); ++m)
            ok = Row(f, {v, columns[c].maxima[m]}, false);
    }
    return Finish(f, ok, error);
}

} // namespace qel

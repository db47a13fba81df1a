#include "analysis/SweepCsv.h"

#include <cmath>
#include <cstdio>

namespace qel {

namespace {

const char* const kVariables[3] = {"x", "y", "z"};

std::string Letter(int param) {
    return std::string(1, static_cast<char>('a' + param));
}

// Written beside the file and renamed over it only when complete, so a full disk never
// leaves half of the numbers in place of an earlier file.
std::FILE* Begin(const std::string& path) {
    return std::fopen((path + ".saving").c_str(), "w");
}

bool Finish(std::FILE* f, const std::string& path) {
    bool ok = !std::ferror(f);
    ok = std::fclose(f) == 0 && ok;
    const std::string work = path + ".saving";
    ok = ok && std::rename(work.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(work.c_str());
    return ok;
}

} // namespace

bool WriteMapCsv(const std::string& path, const CSweep& s,
                 const std::vector<CLyapunovResult>& cells) {
    std::FILE* f = Begin(path);
    if (!f)
        return false;
    std::fprintf(f, "%s,%s,lyapunov,diverged\n", Letter(s.nParam[0]).c_str(),
                 Letter(s.nParam[1]).c_str());
    for (int cell = 0; cell < s.CellCount() && cell < static_cast<int>(cells.size()); ++cell) {
        const CLyapunovResult& r = cells[cell];
        if (r.eOutcome == EOutcome::Cancelled)
            continue;
        const int i = cell % s.nCount[0], j = cell / s.nCount[0];
        const bool diverged = r.eOutcome == EOutcome::Diverged;
        std::fprintf(f, "%.17g,%.17g,%.17g,%d\n", SweepValue(s.lo[0], s.hi[0], i, s.nCount[0]),
                     SweepValue(s.lo[1], s.hi[1], j, s.nCount[1]),
                     diverged ? std::nan("") : r.dExponent, diverged ? 1 : 0);
    }
    return Finish(f, path);
}

bool WriteDiagramCsv(const std::string& path, const CSweep& s,
                     const std::vector<CColumnResult>& columns) {
    std::FILE* f = Begin(path);
    if (!f)
        return false;
    std::fprintf(f, "%s,%s,diverged\n", Letter(s.nParam[0]).c_str(),
                 kVariables[s.nVariable < 0 || s.nVariable > 2 ? 0 : s.nVariable]);
    for (int c = 0; c < s.nCount[0] && c < static_cast<int>(columns.size()); ++c) {
        const double v = SweepValue(s.lo[0], s.hi[0], c, s.nCount[0]);
        if (columns[c].eOutcome == EOutcome::Diverged)
            std::fprintf(f, "%.17g,nan,1\n", v);
        for (double m : columns[c].maxima)
            std::fprintf(f, "%.17g,%.17g,0\n", v, m);
    }
    return Finish(f, path);
}

} // namespace qel

#include "analysis/SweepCsv.h"

#include "model/Attractor.h"
#include "platform/AtomicFile.h"
#include "platform/CsvText.h"

#include <cmath>

namespace qel {

namespace {

void Number(std::string& out, double v) {
    char text[platform::kCsvNumberMax];
    out.append(text, platform::FormatCsvNumber(text, v));
}

void Comment(std::string& out, const std::string& line) {
    out += "# ";
    out += line;
    out += '\n';
}

std::string RunLine(const CSweep& s, bool map) {
    if (map)
        return "model time: transient " + ShortNumber(s.run.dTransient) + ", error target " +
               ShortNumber(s.run.dTargetError) + ", longest run " + ShortNumber(s.run.dMaxTime) +
               " per cell";
    return "model time: transient until the maxima stop moving (at most " +
           ShortNumber(s.diagram.dMaxTransient) + "), then up to " +
           std::to_string(s.diagram.nMaxima) + " maxima in at most " +
           ShortNumber(s.diagram.dMaxTime);
}

double Variation(const CSweep& s) {
    return s.base.params.half * 2;
}

} // namespace

std::string MapCsvText(const CSweep& s, const std::vector<CMapCell>& cells) {
    std::string out;
    Comment(out, std::string("stability map of ") + AttractorKindName(s.nKind) +
                     ": largest Lyapunov exponent per unit model time and its standard error");
    CRunLength run = s.run;
    Comment(out, DescribeMethod(run, Variation(s)));
    Comment(out, RunLine(s, true));
    out += AxisKey(s.nAxis[0]) + "," + AxisKey(s.nAxis[1]) + ",lyapunov,error,model_time,class";
    out += s.bSteadyStates ? ",stable_steady_state\n" : "\n";
    for (int cell = 0; cell < s.CellCount() && cell < static_cast<int>(cells.size()); ++cell) {
        const CMapCell& c = cells[cell];
        const EClass k = Classify(c.r);
        if (k == EClass::Unknown)
            continue;
        const bool value = c.r.eOutcome == EOutcome::Value;
        Number(out, SweepValue(s.lo[0], s.hi[0], cell % s.nCount[0], s.nCount[0]));
        out += ',';
        Number(out, SweepValue(s.lo[1], s.hi[1], cell / s.nCount[0], s.nCount[1]));
        out += ',';
        Number(out, value ? c.r.dExponent : std::nan(""));
        out += ',';
        Number(out, value ? c.r.dError : std::nan(""));
        out += ',';
        Number(out, value ? c.r.dTime : std::nan(""));
        out += ',';
        out += ClassName(k);
        if (s.bSteadyStates)
            out += c.nStable > 0 ? ",1" : ",0";
        out += '\n';
    }
    return out;
}

std::string DiagramCsvText(const CSweep& s, const std::vector<CColumnResult>& columns) {
    const int v = s.nVariable < 0 || s.nVariable > 2 ? 0 : s.nVariable;
    std::string out;
    Comment(out, std::string("bifurcation diagram of ") + AttractorKindName(s.nKind) +
                     ": local maxima of " + VariableTitle(s.nKind, v) + " after the transient");
    CRunLength run;
    run.eMethod = s.diagram.eMethod;
    run.dTolerance = s.diagram.dTolerance;
    Comment(out, DescribeMethod(run, Variation(s)));
    Comment(out, RunLine(s, false));
    out += AxisKey(s.nAxis[0]) + "," + std::string(1, static_cast<char>('x' + v)) + ",row\n";
    for (int c = 0; c < s.nCount[0] && c < static_cast<int>(columns.size()); ++c) {
        const CColumnResult& r = columns[c];
        if (r.eOutcome == EOutcome::Cancelled)
            continue;
        std::string at;
        Number(at, SweepValue(s.lo[0], s.hi[0], c, s.nCount[0]));
        at += ',';
        if (r.eOutcome != EOutcome::Value) {
            out += at + "nan," + (r.eOutcome == EOutcome::Explosive ? "explosive\n" : "diverged\n");
            continue;
        }
        for (double m : r.maxima) {
            out += at;
            Number(out, m);
            out += r.bSteady ? ",steady\n" : ",maximum\n";
        }
    }
    return out;
}

bool WriteMapCsv(const std::string& path, const CSweep& s, const std::vector<CMapCell>& cells,
                 std::string* error) {
    return platform::WriteFileAtomically(path, MapCsvText(s, cells), error);
}

bool WriteDiagramCsv(const std::string& path, const CSweep& s,
                     const std::vector<CColumnResult>& columns, std::string* error) {
    return platform::WriteFileAtomically(path, DiagramCsvText(s, columns), error);
}

} // namespace qel

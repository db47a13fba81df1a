#include "tools/RenderAnalysis.h"

#include "analysis/Equilibria.h"
#include "analysis/SweepCsv.h"
#include "analysis/TrajectoryCsv.h"
#include "app/BifurcationPlot.h"
#include "app/MapPlot.h"
#include "app/PlotPicture.h"
#include "app/Runner.h"
#include "model/Attractor.h"
#include "platform/AtomicFile.h"
#include "platform/RuntimeDir.h"
#include "tools/Peers.h"
#include "tools/TileWork.h"

#include <QApplication>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace qel;

namespace {

enum class EMode { None, Lyapunov, Spectrum, Equilibria, Trajectory, Map, Bifurcation };

struct COptions {
    EMode eMode = EMode::None;
    std::string strMode, strSettings, strOut, strCsv, strAxes, strTrajectory, strCheckpoint;
    int nKind = SORVAN_KIND;
    int nWidth = 64, nHeight = 64, nColumns = 300, nVariable = 0, nThreads = 0, nMaxima = 300;
    int nPictureW = 760, nPictureH = 600;
    EMethod eMethod = EMethod::Equations;
    double dTransient = -1, dMaxTime = -1, dError = 0.005, dTolerance = 1e-6;
    bool bSteady = false;
    bool bRange[2] = {false, false};
    double lo[2] = {0, 0}, hi[2] = {0, 0};
};

// Processes other than the first of an MPI job say nothing: the first says it once.
bool g_bQuiet = false;

int Usage(const std::string& why) {
    if (!g_bQuiet)
        std::fprintf(stderr, "qel-render: %s\n", why.c_str());
    return 2;
}

bool WholeNumber(const std::string& s, long long lo, long long hi, long long& out) {
    if (s.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(s.c_str(), &end, 10);
    if (errno || *end || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

bool Real(const std::string& s, double& out) {
    if (s.empty())
        return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return !*end && std::isfinite(out);
}

// A real number within [lo, hi] (lo excluded when open).
bool RealIn(const std::string& s, double lo, double hi, bool open, double& out) {
    return Real(s, out) && (open ? out > lo : out >= lo) && out <= hi;
}

bool Pair(const std::string& s, const char* seps, std::string& first, std::string& second) {
    const size_t at = s.find_first_of(seps);
    if (at == std::string::npos)
        return false;
    first = s.substr(0, at);
    second = s.substr(at + 1);
    return true;
}

bool Range(const std::string& s, double& lo, double& hi) {
    std::string a, b;
    return Pair(s, ":", a, b) && Real(a, lo) && Real(b, hi) && lo < hi;
}

bool SetMode(COptions& o, EMode mode, const std::string& option) {
    if (o.eMode != EMode::None)
        return false;
    o.eMode = mode;
    o.strMode = option;
    return true;
}

const char* const kOneAnalysis =
    "choose one of --lyapunov, --spectrum, --equilibria, --trajectory, --map and --bifurcation";

constexpr unsigned Used(EMode m) {
    return 1u << static_cast<int>(m);
}
constexpr unsigned kAll = ~0u, kPictures = Used(EMode::Map) | Used(EMode::Bifurcation),
                   kRuns = kPictures | Used(EMode::Lyapunov) | Used(EMode::Spectrum);

// Every option and the analyses that use it: one given to an analysis that does not use it is
// refused, not ignored.
const struct COption {
    const char* szName;
    bool bValue;
    unsigned nUsedBy;
} kOptions[] = {{"--lyapunov", false, kAll},
                {"--spectrum", false, kAll},
                {"--equilibria", false, kAll},
                {"--trajectory", true, kAll},
                {"--map", true, kAll},
                {"--bifurcation", true, kAll},
                {"--kind", true, kAll},
                {"--settings", true, kAll},
                {"--method", true, kRuns},
                {"--transient", true, kRuns},
                {"--max-time", true, kRuns},
                {"--tolerance", true, kRuns},
                {"--error", true, kRuns & ~Used(EMode::Bifurcation)},
                {"--threads", true, kPictures},
                {"--out", true, kPictures},
                {"--csv", true, kPictures},
                {"--checkpoint", true, kPictures},
                {"--size", true, kPictures},
                {"--grid", true, Used(EMode::Map)},
                {"--range1", true, Used(EMode::Map)},
                {"--range2", true, Used(EMode::Map)},
                {"--steady-states", false, Used(EMode::Map)},
                {"--range", true, Used(EMode::Bifurcation)},
                {"--variable", true, Used(EMode::Bifurcation)},
                {"--columns", true, Used(EMode::Bifurcation)},
                {"--maxima", true, Used(EMode::Bifurcation)}};

// An empty text when the options make sense together.
std::string Parse(int argc, char** argv, COptions& o) {
    std::vector<const COption*> given;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                          [&](const COption& k) { return arg == k.szName; });
        if (option == std::end(kOptions))
            return (arg.rfind("--", 0) == 0 ? "unknown option " : "unknown argument ") + arg +
                   " (see --help)";
        given.push_back(option);
        if (arg == "--lyapunov" || arg == "--spectrum" || arg == "--equilibria") {
            const EMode m = arg == "--lyapunov"   ? EMode::Lyapunov
                            : arg == "--spectrum" ? EMode::Spectrum
                                                  : EMode::Equilibria;
            if (!SetMode(o, m, arg))
                return kOneAnalysis;
            continue;
        }
        if (arg == "--steady-states") {
            o.bSteady = true;
            continue;
        }
        if (i + 1 >= argc)
            return "option " + arg + " needs a value (see --help)";
        const std::string value = argv[++i];
        long long n = 0;
        std::string a, b;
        if (arg == "--map" || arg == "--bifurcation" || arg == "--trajectory") {
            if (!SetMode(o,
                         arg == "--map"           ? EMode::Map
                         : arg == "--bifurcation" ? EMode::Bifurcation
                                                  : EMode::Trajectory,
                         arg))
                return kOneAnalysis;
            (arg == "--trajectory" ? o.strTrajectory : o.strAxes) = value;
        } else if (arg == "--kind") {
            if ((o.nKind = KindFromText(value)) < 0)
                return "unknown kind '" + value + "'";
        } else if (arg == "--settings")
            o.strSettings = value;
        else if (arg == "--out")
            o.strOut = value;
        else if (arg == "--csv")
            o.strCsv = value;
        else if (arg == "--checkpoint")
            o.strCheckpoint = value;
        else if (arg == "--method") {
            if (!MethodFromKey(value, o.eMethod))
                return "--method wants equations or drawn, not '" + value + "'";
        } else if (arg == "--grid") {
            long long w, h;
            if (!Pair(value, "xX", a, b) || !WholeNumber(a, 1, 2048, w) ||
                !WholeNumber(b, 1, 2048, h))
                return "--grid wants WxH, each from 1 to 2048";
            o.nWidth = static_cast<int>(w), o.nHeight = static_cast<int>(h);
        } else if (arg == "--size") {
            long long w, h;
            if (!Pair(value, "xX", a, b) || !WholeNumber(a, 100, 8192, w) ||
                !WholeNumber(b, 100, 8192, h))
                return "--size wants WxH, each from 100 to 8192";
            o.nPictureW = static_cast<int>(w), o.nPictureH = static_cast<int>(h);
        } else if (arg == "--columns") {
            if (!WholeNumber(value, 1, 100000, n))
                return "--columns wants a whole number from 1 to 100000";
            o.nColumns = static_cast<int>(n);
        } else if (arg == "--maxima") {
            if (!WholeNumber(value, 1, kMaximaPerColumn, n))
                return "--maxima wants a whole number from 1 to " +
                       std::to_string(kMaximaPerColumn);
            o.nMaxima = static_cast<int>(n);
        } else if (arg == "--range" || arg == "--range1" || arg == "--range2") {
            const int k = arg == "--range2" ? 1 : 0;
            if (!Range(value, o.lo[k], o.hi[k]))
                return arg + " wants LO:HI with LO below HI";
            o.bRange[k] = true;
        } else if (arg == "--transient") {
            if (!RealIn(value, 0, 1e9, false, o.dTransient))
                return "--transient wants a model time from 0 to 1e9, not '" + value + "'";
        } else if (arg == "--max-time") {
            if (!RealIn(value, 0, 1e9, true, o.dMaxTime))
                return "--max-time wants a model time above 0 and at most 1e9, not '" + value + "'";
        } else if (arg == "--error") {
            if (!RealIn(value, 0, 10, true, o.dError))
                return "--error wants a target above 0 and at most 10, not '" + value + "'";
        } else if (arg == "--tolerance") {
            if (!RealIn(value, 1e-14, 1e-3, false, o.dTolerance))
                return "--tolerance wants a number from 1e-14 to 1e-3, not '" + value + "'";
        } else if (arg == "--threads") {
            if (!WholeNumber(value, 1, 1024, n))
                return "--threads wants a whole number from 1 to 1024";
            o.nThreads = static_cast<int>(n);
        } else if (arg == "--variable") {
            if (value != "x" && value != "y" && value != "z")
                return "--variable wants x, y or z";
            o.nVariable = value[0] - 'x';
        }
    }
    for (const COption* option : given)
        if (!(option->nUsedBy & Used(o.eMode)))
            return o.strMode + " does not use " + option->szName;
    if (SameFile(o.strOut, o.strCsv))
        return "--out and --csv name the same file";
    if (SameFile(o.strCheckpoint, o.strOut) || SameFile(o.strCheckpoint, o.strCsv))
        return "--checkpoint names the file of --out or --csv";
    return {};
}

std::string CheckAxes(const COptions& o, CSweep& s) {
    std::string first = o.strAxes, second;
    if (o.eMode == EMode::Map && !Pair(o.strAxes, ",", first, second))
        return "--map wants two axes, as in a,d";
    s.nAxis[0] = AxisFromKey(first);
    s.nAxis[1] = o.eMode == EMode::Map ? AxisFromKey(second) : s.nAxis[0];
    for (int k = 0; k < (o.eMode == EMode::Map ? 2 : 1); ++k) {
        const std::string why = AxisRefusal(o.nKind, s.nAxis[k], o.eMethod);
        if (!why.empty())
            return "axis '" + (k ? second : first) + "': " + why;
    }
    if (o.eMode == EMode::Map && s.nAxis[0] == s.nAxis[1])
        return "--map wants two different axes";
    return {};
}

// Where the summary goes: standard output, unless a file is written there.
std::FILE* SummaryStream(const COptions& o) {
    for (const std::string& f : {o.strOut, o.strCsv})
        if (f == "-" || f == "/dev/stdout")
            return stderr;
    return stdout;
}

bool Saved(bool ok, const std::string& error) {
    if (!ok)
        std::fprintf(stderr, "qel-render: cannot write %s\n", error.c_str());
    return ok;
}

const double_PARAM& Limits(const CAttractor& r, int axis) {
    const double_PARAM* other[4] = {&r.m_initX, &r.m_initY, &r.m_initZ, &r.m_variation};
    return axis < 7 ? r.m_param[axis] : *other[axis - kAxisX0];
}

std::string Trimmed(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string Complex(const std::complex<double>& c) {
    if (c.imag() == 0)
        return Trimmed(c.real());
    return Trimmed(c.real()) + (c.imag() > 0 ? "+" : "-") + Trimmed(std::fabs(c.imag())) + "i";
}

std::string Hyphenated(const char* name) {
    std::string s = name;
    for (char& c : s)
        c = c == ' ' ? '-' : c;
    return s;
}

// Why the record admits no exponent, or empty.
std::string Undefined(const CAttractor& r, EMethod method) {
    if (method == EMethod::AsDrawn && !(r.m_variation.m_value > 0))
        return "the Variation is " + Trimmed(r.m_variation.m_value) +
               ": the drawing step advances no time, so no exponent is defined";
    return {};
}

int Exponents(const COptions& o, const CAttractor& r, const CSweep& sweep) {
    CRunLength run;
    run.eMethod = o.eMethod;
    run.dTransient = o.dTransient >= 0 ? o.dTransient : 100;
    run.dMaxTime = o.dMaxTime > 0 ? o.dMaxTime : 100000;
    run.dTargetError = o.dError;
    run.dTolerance = o.dTolerance;
    if (const std::string why = Undefined(r, o.eMethod); !why.empty()) {
        std::fprintf(stderr, "qel-render: %s\n", why.c_str());
        return 1;
    }
    const double* x = sweep.base.init;
    const double variation = r.m_variation.m_value;
    auto outcome = [](EOutcome e) {
        std::printf("%s\n", e == EOutcome::Explosive ? "explosive: the state grows without bound"
                            : e == EOutcome::Diverged
                                ? "diverged: not finite or too stiff to follow"
                                : "cancelled");
    };
    auto footer = [&](double time, bool converged) {
        std::printf("model-time %.0f (%s)\nmethod %s\n", time,
                    converged ? "error below the target" : "longest run reached first",
                    DescribeMethod(run, variation).c_str());
    };
    if (o.eMode == EMode::Lyapunov) {
        const CLyapunovResult res =
            LargestLyapunov(o.nKind, sweep.base.params, x[0], x[1], x[2], run);
        if (res.eOutcome != EOutcome::Value) {
            std::printf("lyapunov ");
            outcome(res.eOutcome);
            return 0;
        }
        std::printf("lyapunov %s\nclass %s\n", ValueWithError(res.dExponent, res.dError).c_str(),
                    ClassName(Classify(res)));
        footer(res.dTime, res.bConverged);
        return 0;
    }
    const CSpectrum s = LyapunovSpectrum(o.nKind, sweep.base.params, x[0], x[1], x[2], run);
    if (s.eOutcome != EOutcome::Value) {
        std::printf("spectrum ");
        outcome(s.eOutcome);
        return 0;
    }
    std::printf("spectrum");
    for (int k = 0; k < 3; ++k) {
        const std::string v = ValueWithError(s.dExponent[k], s.dError[k]);
        std::printf(" %s", v.substr(0, v.find(' ')).c_str());
    }
    std::printf("\nerrors");
    for (int k = 0; k < 3; ++k) {
        const std::string v = ValueWithError(s.dExponent[k], s.dError[k]);
        std::printf(" %s", v.substr(v.rfind(' ') + 1).c_str());
    }
    const double d = s.KaplanYorke();
    double dError = 0;
    if (d > 0 && d < 3) {
        // D = k + (sum of the first k) / |exponent k + 1|: its error from theirs.
        const int k = static_cast<int>(d);
        double num = 0, sum = 0;
        for (int i = 0; i < k; ++i)
            num += s.dError[i] * s.dError[i], sum += s.dExponent[i];
        const double den = std::fabs(s.dExponent[k]);
        dError = std::sqrt(num / (den * den) + std::pow(sum * s.dError[k] / (den * den), 2));
    }
    std::printf("\nkaplan-yorke %s\n", ValueWithError(d, dError).c_str());
    if (std::isfinite(s.dTrace))
        std::printf("sum %s (mean trace of the Jacobian %.6g)\n",
                    ValueWithError(s.dExponent[0] + s.dExponent[1] + s.dExponent[2],
                                   std::sqrt(s.dError[0] * s.dError[0] + s.dError[1] * s.dError[1] +
                                             s.dError[2] * s.dError[2]))
                        .c_str(),
                    s.dTrace);
    footer(s.dTime, s.bConverged);
    return 0;
}

int Equilibria(const CAttractor& r, const CSweep& sweep) {
    const auto found = FindEquilibria(r.GetKind(), sweep.base.params, sweep.box[0], sweep.box[1]);
    std::printf("# equilibria of the equations in x %g..%g, y %g..%g, z %g..%g: X Y Z type "
                "eigenvalues\n",
                sweep.box[0][0], sweep.box[1][0], sweep.box[0][1], sweep.box[1][1], sweep.box[0][2],
                sweep.box[1][2]);
    for (const CEquilibrium& e : found) {
        std::printf("equilibrium %s %s %s %s", Trimmed(e.x[0]).c_str(), Trimmed(e.x[1]).c_str(),
                    Trimmed(e.x[2]).c_str(), Hyphenated(EquilibriumTypeName(e.eType)).c_str());
        for (const auto& l : e.eigen)
            std::printf(" %s", Complex(l).c_str());
        std::printf("\n");
    }
    if (found.empty())
        std::printf("equilibria none\n");
    return 0;
}

// The same header and lines as File > Export Trajectory, through the atomic writer.
int Trajectory(const COptions& o, const CAttractor& r) {
    platform::CAtomicFile f(o.strTrajectory);
    const int64_t steps = std::max<int32_t>(r.m_iteration.m_value, 0);
    bool ok = f.Write(TrajectoryCsvHeader(r.GetKind())) &&
              WriteTrajectoryCsv(r, steps, 0, steps, {},
                                 [&](const char* text, std::size_t n) { return f.Write(text, n); });
    ok = ok && f.Commit();
    return Saved(ok, f.Error()) ? 0 : 1;
}

std::string Processes(int n) {
    return std::to_string(n) + (n == 1 ? " process" : " processes");
}

int Run(COptions& o, int argc, char** argv, CPeers& peers) {
    CSweep sweep;
    const bool pictures = o.eMode == EMode::Map || o.eMode == EMode::Bifurcation;
    if (pictures) {
        if (std::string why = CheckAxes(o, sweep); !why.empty())
            return Usage(why);
        if (o.strOut.empty())
            return Usage("--out FILE is needed for the picture");
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::unique_ptr<CAttractor> r(CreateAttractor(o.nKind));
    if (!LoadRecordSettings(*r, o.strSettings))
        return 1;
    const int axes[2] = {sweep.nAxis[0], sweep.nAxis[1]};
    sweep = CSweep::FromRecord(*r);
    switch (o.eMode) {
    case EMode::Lyapunov:
    case EMode::Spectrum:
        return Exponents(o, *r, sweep);
    case EMode::Equilibria:
        return Equilibria(*r, sweep);
    case EMode::Trajectory:
        return Trajectory(o, *r);
    default:
        break;
    }
    const bool map = o.eMode == EMode::Map;
    for (int k = 0; k < 2; ++k) {
        sweep.nAxis[k] = axes[k];
        sweep.lo[k] = o.bRange[k] ? o.lo[k] : Limits(*r, axes[k]).m_lower;
        sweep.hi[k] = o.bRange[k] ? o.hi[k] : Limits(*r, axes[k]).m_upper;
        if (!(sweep.lo[k] < sweep.hi[k]))
            return Usage("the settings give no range for " + AxisKey(axes[k]) +
                         "; give one with --range");
        // A cell there would be a class of its own: not diverged, but no run at all.
        if (axes[k] == kAxisVariation && !(sweep.lo[k] > 0))
            return Usage("the Variation's range starts at " + Trimmed(sweep.lo[k]) +
                         ": at 0 or below the drawing step advances no time, so no exponent "
                         "is defined there");
    }
    if (o.eMethod == EMethod::AsDrawn && !(r->m_variation.m_value > 0) &&
        axes[0] != kAxisVariation && axes[1] != kAxisVariation) {
        std::fprintf(stderr, "qel-render: %s\n", Undefined(*r, o.eMethod).c_str());
        return 1;
    }
    sweep.nVariable = o.nVariable;
    sweep.run.eMethod = sweep.diagram.eMethod = o.eMethod;
    sweep.run.dTolerance = sweep.diagram.dTolerance = o.dTolerance;
    sweep.run.dTargetError = o.dError;
    if (o.dTransient >= 0)
        sweep.run.dTransient = sweep.diagram.dMaxTransient = o.dTransient;
    if (o.dMaxTime > 0)
        sweep.run.dMaxTime = sweep.diagram.dMaxTime = o.dMaxTime;
    sweep.diagram.nMaxima = o.nMaxima;
    sweep.bSteadyStates = o.bSteady;
    sweep.nCount[0] = map ? o.nWidth : o.nColumns;
    sweep.nCount[1] = map ? o.nHeight : 1;
    bool ok = true;
    std::string error;
    if (std::string why; !CRunner::StartPool(o.nThreads, &why)) {
        std::fprintf(stderr, "qel-render: %s (ask for fewer with --threads)\n", why.c_str());
        return 1;
    }
    // Tiles over this and the other processes, each on the lanes of one thread.
    CTileJob job;
    job.sweep = sweep;
    job.bMap = map;
    CGathered got;
    if (const int code = GatherTiles(peers, job, o.nThreads, o.strCheckpoint, got))
        return code;
    if (got.nResumed)
        std::fprintf(SummaryStream(o), "checkpoint: %d of %d tiles were done already\n",
                     got.nResumed, job.Tiles());
    if (map) {
        const std::vector<CMapCell>& cells = got.cells;
        const int count = static_cast<int>(cells.size());
        CMapPlot plot;
        plot.resize(o.nPictureW, o.nPictureH);
        plot.Start(sweep, sweep.base.Axis(axes[0]), sweep.base.Axis(axes[1]));
        plot.ShowQelmeterLine(plot.CanShowQelmeterLine());
        for (int c = 0; c < count; ++c)
            plot.SetCell(c, cells[c]);
        plot.Refresh();
        int counts[6] = {};
        for (const CMapCell& c : cells)
            ++counts[static_cast<int>(Classify(c.r))];
        std::fprintf(SummaryStream(o),
                     "map: %d cells over %s: %d settle, %d cycle, %d chaotic, %d "
                     "explosive, %d diverged\nmethod %s\n",
                     sweep.CellCount(), Processes(peers.Count()).c_str(), counts[0], counts[1],
                     counts[2], counts[3], counts[4],
                     DescribeMethod(sweep.run, r->m_variation.m_value).c_str());
        ok = Saved(SavePlotPicture(plot, o.strOut, 0, 0, &error), error);
        if (!o.strCsv.empty())
            ok = Saved(WriteMapCsv(o.strCsv, sweep, plot.Cells(), &error), error) && ok;
    } else {
        const std::vector<CColumnResult>& columns = got.columns;
        CBifurcationPlot plot;
        plot.resize(o.nPictureW, o.nPictureH);
        plot.Start(sweep, sweep.base.Axis(axes[0]));
        for (int c = 0; c < static_cast<int>(columns.size()); ++c)
            plot.SetColumn(c, columns[c]);
        plot.Refresh();
        CRunLength run;
        run.eMethod = o.eMethod;
        run.dTolerance = o.dTolerance;
        std::fprintf(SummaryStream(o), "bifurcation: %d columns over %s\nmethod %s\n",
                     sweep.nCount[0], Processes(peers.Count()).c_str(),
                     DescribeMethod(run, r->m_variation.m_value).c_str());
        ok = Saved(SavePlotPicture(plot, o.strOut, 0, 0, &error), error);
        if (!o.strCsv.empty())
            ok = Saved(WriteDiagramCsv(o.strCsv, sweep, plot.Columns(), &error), error) && ok;
    }
    return ok ? 0 : 1;
}

} // namespace

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return false;
    auto where = [](const std::string& path) {
        std::error_code ec;
        const auto p = std::filesystem::weakly_canonical(
            std::filesystem::absolute(platform::FollowLinks(path == "-" ? "/dev/stdout" : path)),
            ec);
        return ec ? std::filesystem::path(path) : p;
    };
    return where(a) == where(b);
}

bool LoadRecordSettings(CAttractor& record, const std::string& given) {
    if (!given.empty())
        record.m_strSettingsPath = given;
    std::string why;
    const ESettingsRead read = record.LoadSettings(&why);
    if (read != ESettingsRead::Read)
        std::fprintf(stderr, "qel-render: %s%s\n",
                     read == ESettingsRead::NoSection ? "" : "cannot read ", why.c_str());
    return read == ESettingsRead::Read;
}

bool RunAnalysisIfAsked(int argc, char** argv, int& exitCode) {
    bool asked = false, split = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return false;
        split = split || arg == "--map" || arg == "--bifurcation";
        asked = asked || split || arg == "--lyapunov" || arg == "--spectrum" ||
                arg == "--equilibria" || arg == "--trajectory";
    }
    if (!asked)
        return false;
    std::string why;
    const std::unique_ptr<CPeers> peers = JoinPeers(argc, argv, split, why);
    if (!peers) {
        g_bQuiet = why.empty();
        exitCode = Usage(why);
        return true;
    }
    g_bQuiet = peers->Rank() != 0;
    COptions o;
    why = Parse(argc, argv, o);
    if (!why.empty()) // every process refuses the same command line
        exitCode = Usage(why);
    else if (peers->Rank() != 0) {
        QCoreApplication app(argc, argv); // the runner's pool; no GUI start-up in these
        if (std::string pool; CRunner::StartPool(o.nThreads, &pool))
            exitCode = ServeTiles(*peers, o.nThreads);
        else {
            std::fprintf(stderr, "qel-render: process %d: %s (ask for fewer with --threads)\n",
                         peers->Rank(), pool.c_str());
            exitCode = 1;
        }
    } else {
        exitCode = Run(o, argc, argv, *peers);
        DismissPeers(*peers, exitCode);
    }
    peers->Leave();
    return true;
}

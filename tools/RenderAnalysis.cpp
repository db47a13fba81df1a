#include "tools/RenderAnalysis.h"

#include "analysis/SweepCsv.h"
#include "app/BifurcationPlot.h"
#include "app/MapPlot.h"
#include "app/PlotPicture.h"
#include "model/Attractor.h"
#include "platform/RuntimeDir.h"

#include <QApplication>
#include <QThreadPool>
#include <QtConcurrent>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace qel;

namespace {

enum class EMode { None, Lyapunov, Map, Bifurcation };

struct COptions {
    EMode eMode = EMode::None;
    std::string strSettings, strOut, strCsv, strParams;
    int nKind = SORVAN_KIND;
    int nWidth = 128, nHeight = 128, nColumns = 300, nVariable = 0, nThreads = 0;
    int nPictureW = 760, nPictureH = 600;
    long long nTransient = -1, nSteps = -1;
    bool bRange[2] = {false, false};
    double lo[2] = {0, 0}, hi[2] = {0, 0};
};

int Usage(const std::string& why) {
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

// An empty text when the options make sense together.
std::string Parse(int argc, char** argv, COptions& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lyapunov") {
            if (o.eMode != EMode::None)
                return "choose one of --lyapunov, --map and --bifurcation";
            o.eMode = EMode::Lyapunov;
            continue;
        }
        if (i + 1 >= argc)
            return "option " + arg + " needs a value (see --help)";
        const std::string value = argv[++i];
        long long n = 0;
        std::string a, b;
        if (arg == "--map" || arg == "--bifurcation") {
            if (o.eMode != EMode::None)
                return "choose one of --lyapunov, --map and --bifurcation";
            o.eMode = arg == "--map" ? EMode::Map : EMode::Bifurcation;
            o.strParams = value;
        } else if (arg == "--kind") {
            if ((o.nKind = KindFromText(value)) < 0)
                return "unknown kind '" + value + "'";
        } else if (arg == "--settings")
            o.strSettings = value;
        else if (arg == "--out")
            o.strOut = value;
        else if (arg == "--csv")
            o.strCsv = value;
        else if (arg == "--grid") {
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
        } else if (arg == "--range" || arg == "--range1" || arg == "--range2") {
            const int k = arg == "--range2" ? 1 : 0;
            if (!Range(value, o.lo[k], o.hi[k]))
                return arg + " wants LO:HI with LO below HI";
            o.bRange[k] = true;
        } else if (arg == "--transient") {
            if (!WholeNumber(value, 0, 1000000000000LL, o.nTransient))
                return "--transient wants a whole number from 0 to 10^12";
        } else if (arg == "--steps") {
            if (!WholeNumber(value, 1, 1000000000000LL, o.nSteps))
                return "--steps wants a whole number from 1 to 10^12";
        } else if (arg == "--threads") {
            if (!WholeNumber(value, 1, 1024, n))
                return "--threads wants a whole number from 1 to 1024";
            o.nThreads = static_cast<int>(n);
        } else if (arg == "--variable") {
            if (value != "x" && value != "y" && value != "z")
                return "--variable wants x, y or z";
            o.nVariable = value[0] - 'x';
        } else
            return "unknown option " + arg + " (see --help)";
    }
    return {};
}

std::string CheckParams(COptions& o, CSweep& s) {
    const int used = UsedParameterCount(o.nKind);
    std::string first = o.strParams, second;
    if (o.eMode == EMode::Map && !Pair(o.strParams, ",", first, second))
        return "--map wants two parameters, as in a,d";
    s.nParam[0] = ParameterFromLetter(first);
    s.nParam[1] = o.eMode == EMode::Map ? ParameterFromLetter(second) : s.nParam[0];
    const std::string letters = std::string("a to ") + static_cast<char>('a' + used - 1);
    for (int p : s.nParam)
        if (p < 0 || p >= used)
            return std::string(AttractorKindName(o.nKind)) + " uses the parameters " + letters;
    if (o.eMode == EMode::Map && s.nParam[0] == s.nParam[1])
        return "--map wants two different parameters";
    return {};
}

bool Saved(bool ok, const std::string& error) {
    if (!ok)
        std::fprintf(stderr, "qel-render: cannot write %s\n", error.c_str());
    return ok;
}

template <class Result, class Fn> QList<Result> Compute(int count, int threads, Fn fn) {
    QThreadPool pool;
    pool.setMaxThreadCount(threads > 0 ? threads : QThread::idealThreadCount());
    QList<int> items;
    for (int k = 0; k < count; ++k)
        items.push_back(k);
    QFuture<Result> f = QtConcurrent::mapped(&pool, items, fn);
    f.waitForFinished();
    return f.results();
}

int Run(COptions& o, int argc, char** argv) {
    CSweep sweep;
    if (o.eMode != EMode::Lyapunov) {
        if (std::string why = CheckParams(o, sweep); !why.empty())
            return Usage(why);
        if (o.strOut.empty())
            return Usage("--out FILE is needed for the picture");
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::unique_ptr<CAttractor> r(CreateAttractor(o.nKind));
    if (!o.strSettings.empty()) {
        if (FILE* f = std::fopen(o.strSettings.c_str(), "r"))
            std::fclose(f);
        else {
            std::fprintf(stderr, "qel-render: cannot read %s\n", o.strSettings.c_str());
            return 1;
        }
        r->m_strSettingsPath = o.strSettings;
    }
    r->LoadSettings();
    const int params[2] = {sweep.nParam[0], sweep.nParam[1]};
    sweep = CSweep::FromRecord(*r);
    if (o.eMode == EMode::Lyapunov) {
        const CRunLength run{o.nTransient >= 0 ? o.nTransient : 20000,
                             o.nSteps > 0 ? o.nSteps : 400000};
        const CLyapunovResult res = LargestLyapunov(o.nKind, sweep.params, sweep.init[0],
                                                    sweep.init[1], sweep.init[2], run);
        if (res.eOutcome == EOutcome::Diverged)
            std::printf("lyapunov diverged\n");
        else
            std::printf("lyapunov %.17g\n", res.dExponent);
        return 0;
    }
    const bool map = o.eMode == EMode::Map;
    for (int k = 0; k < 2; ++k) {
        sweep.nParam[k] = params[k];
        sweep.lo[k] = o.bRange[k] ? o.lo[k] : r->m_param[params[k]].m_lower;
        sweep.hi[k] = o.bRange[k] ? o.hi[k] : r->m_param[params[k]].m_upper;
        if (!(sweep.lo[k] < sweep.hi[k]))
            return Usage("the settings give no range for " + std::string(1, 'a' + params[k]) +
                         "; give one with --range");
    }
    sweep.nVariable = o.nVariable;
    sweep.run = {o.nTransient >= 0 ? o.nTransient : (map ? 1000 : 20000),
                 o.nSteps > 0 ? o.nSteps : (map ? 5000 : 20000)};
    sweep.nCount[0] = map ? o.nWidth : o.nColumns;
    sweep.nCount[1] = map ? o.nHeight : 1;
    bool ok = true;
    std::string error;
    if (map) {
        const QList<CLyapunovResult> cells = Compute<CLyapunovResult>(
            sweep.CellCount(), o.nThreads, [sweep](int c) { return MapCell(sweep, c); });
        CMapPlot plot;
        plot.resize(o.nPictureW, o.nPictureH);
        plot.Start(sweep, r->m_param[params[0]].m_value, r->m_param[params[1]].m_value);
        plot.ShowQelmeterLine(plot.CanShowQelmeterLine());
        for (int c = 0; c < cells.size(); ++c)
            plot.SetCell(c, cells[c]);
        plot.Refresh();
        ok = Saved(SavePlotPicture(plot, o.strOut, 0, 0, &error), error);
        if (!o.strCsv.empty())
            ok = Saved(WriteMapCsv(o.strCsv, sweep, plot.Cells(), &error), error) && ok;
    } else {
        const QList<CColumnResult> columns = Compute<CColumnResult>(
            sweep.nCount[0], o.nThreads, [sweep](int c) { return DiagramColumn(sweep, c); });
        CBifurcationPlot plot;
        plot.resize(o.nPictureW, o.nPictureH);
        plot.Start(sweep, r->m_param[params[0]].m_value);
        for (int c = 0; c < columns.size(); ++c)
            plot.SetColumn(c, columns[c]);
        plot.Refresh();
        ok = Saved(SavePlotPicture(plot, o.strOut, 0, 0, &error), error);
        if (!o.strCsv.empty())
            ok = Saved(WriteDiagramCsv(o.strCsv, sweep, plot.Columns(), &error), error) && ok;
    }
    return ok ? 0 : 1;
}

} // namespace

bool RunAnalysisIfAsked(int argc, char** argv, int& exitCode) {
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
            return false;
        asked = asked || arg == "--lyapunov" || arg == "--map" || arg == "--bifurcation";
    }
    if (!asked)
        return false;
    COptions o;
    const std::string why = Parse(argc, argv, o);
    exitCode = why.empty() ? Run(o, argc, argv) : Usage(why);
    return true;
}

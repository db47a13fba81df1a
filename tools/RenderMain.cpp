// qel-render: draws attractors through the plot canvas without a window, to PNG or BMP.
#include "countries/CountryPresets.h"
#include "countries/XmlDocument.h"
#include "engine/BmpWriter.h"
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/PointList.h"
#include "model/Attractor.h"
#include "model/KindTable.h"
#include "platform/CRuntime.h"
#include "platform/Failure.h"
#include "platform/Memory.h"
#include "platform/ModulePath.h"
#include "platform/RuntimeDir.h"
#include "tools/Peers.h"
#include "tools/RenderAnalysis.h"

#include <QGuiApplication>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: qel-render [options]\n"
    "  --settings FILE       settings file (default: the program's own Attractors.ini)\n"
    "  --kind NAME|INDEX     Henon, Ikeda, Lorenz, Pickover, Rossler, Sorvan or 0-5\n"
    "                        (default: Sorvan)\n"
    "  --plane 0-3|all       0 X-Y, 1 X-Z, 2 Y-Z, 3 X-Y-Z; all writes FILE-0 .. FILE-3\n"
    "  --iterations N        number of points (default: the settings file's)\n"
    "  --size WxH            picture size (default: 591x515)\n"
    "  --out FILE            .png, or .bmp in any case (default: graph.png)\n"
    "  --points FILE         CSV of every point of the pass: i,x,y,z,column,row,color\n"
    "  --country NAME        draw this country of the economic model; repeat it to draw\n"
    "                        several over one another, in order\n"
    "  --countries FILE      country presets (default: the program's own countries.xml)\n"
    "  --help                this text\n"
    "analyses of the settings' values (--kind, --settings):\n"
    "  --lyapunov            'lyapunov VALUE \u00b1 ERROR', its class, the model time and the "
    "method\n"
    "  --spectrum            all three exponents ('spectrum L1 L2 L3', 'errors E1 E2 E3'),\n"
    "                        'kaplan-yorke D' and their sum against the mean trace\n"
    "  --equilibria          'equilibrium X Y Z TYPE EIGENVALUES' for each one inside the\n"
    "                        box of the start values' limits\n"
    "  --trajectory FILE     every point as CSV, as File > Export Trajectory writes it\n"
    "  --map A1,A2           stability map over two axes: a to g, x0, y0, z0 (start values)\n"
    "                        or v (the Variation, with --method drawn)\n"
    "    [--grid WxH] [--range1 LO:HI] [--range2 LO:HI] [--steady-states]\n"
    "    (grid 64x64; ranges the settings' limits; --steady-states marks the edge of where\n"
    "    a stable steady state exists)\n"
    "  --bifurcation A       local maxima of a variable over one axis\n"
    "    [--variable x|y|z] [--columns N] [--range LO:HI] [--maxima N]\n"
    "    (x, 300 columns, 300 maxima per column)\n"
    "  --method M            equations (default): the equations integrated accurately\n"
    "                        (Dormand-Prince 5(4)), independent of the Variation;\n"
    "                        drawn: the Run's own step at the settings' Variation\n"
    "  --transient T         model time dropped first (default 100); for --bifurcation\n"
    "                        the longest transient, which ends when the maxima stop moving\n"
    "                        (default 3000)\n"
    "  --error E             a run ends when the standard error is below E (default 0.005)\n"
    "  --max-time T          ... or after T of model time (default 100000 for --lyapunov\n"
    "                        and --spectrum, 10000 per map cell, 3000 per diagram column)\n"
    "  --tolerance TOL       equations: error allowed per step (default 1e-6)\n"
    "  --threads T           threads for --map and --bifurcation (default: all cores)\n"
    "  --checkpoint FILE     --map, --bifurcation: finished tiles go into FILE as they come;\n"
    "                        the same command started again skips them (FILE of another run\n"
    "                        is refused)\n"
    "  --out FILE            picture, .png or .pdf; --csv FILE the numbers, %.17g\n"
    "  --size WxH            picture size (default 760x600)\n"
    "under mpirun or srun, qel-render-mpi shares --map and --bifurcation out over the\n"
    "processes, each with its threads, and the first writes the files\n"
    "exit codes: 0 done, 1 a file could not be read or written, no exponent is defined, or\n"
    "memory or threads could not be had,\n"
    "2 the command line was refused, or several processes were started where one must run\n";

int Usage(const std::string& why) {
    std::fprintf(stderr, "qel-render: %s\n", why.c_str());
    return 2;
}

bool ParseInt(const char* s, long long lo, long long hi, long long& out) {
    if (!s || !*s)
        return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s, &end, 10);
    if (errno || *end || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

std::string NumberedName(const std::string& path, int plane) {
    std::size_t slash = path.find_last_of('/');
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "-" + std::to_string(plane);
    return path.substr(0, dot) + "-" + std::to_string(plane) + path.substr(dot);
}

// Every file goes through the atomic writer; a failure names the file and the reason.
bool Written(bool ok, const std::string& error) {
    if (!ok)
        std::fprintf(stderr, "qel-render: cannot write %s\n", error.c_str());
    return ok;
}

bool Save(const QImage& image, const std::string& path) {
    std::string error;
    return Written(WriteImageFile(image, path, &error), error);
}

} // namespace

int Render(int argc, char** argv) {
    if (int code = 0; RunAnalysisIfAsked(argc, argv, code))
        return code;
    std::string settings, out = "graph.png", points, planeText = "0", countriesFile;
    std::vector<std::string> countries;
    bool kindGiven = false;
    int kind = SORVAN_KIND, width = 591, height = 515;
    long long iterations = -1;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        static const std::set<std::string> kTakesValue = {"--settings", "--country", "--countries",
                                                          "--kind",     "--plane",   "--iterations",
                                                          "--size",     "--out",     "--points"};
        if (!kTakesValue.count(arg))
            return Usage("unknown option " + arg + " (see --help)");
        if (i + 1 >= argc)
            return Usage("option " + arg + " needs a value (see --help)");
        std::string value = argv[++i];
        if (arg == "--settings")
            settings = value;
        else if (arg == "--country")
            countries.push_back(value);
        else if (arg == "--countries")
            countriesFile = value;
        else if (arg == "--kind") {
            kindGiven = true;
            kind = qel::KindFromText(value);
            if (kind < 0)
                return Usage("unknown kind '" + value + "'");
        } else if (arg == "--plane")
            planeText = value;
        else if (arg == "--iterations") {
            if (!ParseInt(value.c_str(), 0, 2147483647LL, iterations))
                return Usage("--iterations wants a whole number from 0 to 2147483647");
        } else if (arg == "--size") {
            long long w, h;
            std::size_t x = value.find_first_of("xX");
            if (x == std::string::npos || !ParseInt(value.substr(0, x).c_str(), 1, 16384, w) ||
                !ParseInt(value.substr(x + 1).c_str(), 1, 16384, h))
                return Usage("--size wants WxH, each from 1 to 16384");
            width = static_cast<int>(w);
            height = static_cast<int>(h);
        } else if (arg == "--out")
            out = value;
        else
            points = value;
    }
    if (std::string why; !JoinPeers(argc, argv, false, why))
        return why.empty() ? 2 : Usage(why);
    long long plane = 0;
    const bool all = planeText == "all";
    if (!all && !ParseInt(planeText.c_str(), 0, 3, plane))
        return Usage("--plane wants 0, 1, 2, 3 or all");
    if (all && !points.empty())
        return Usage("--points needs a single plane");
    if (!countries.empty() && kindGiven && kind != SORVAN_KIND)
        return Usage("--country applies to the economic model (Sorvan) only");
    if (!countries.empty() && !points.empty())
        return Usage("--points draws one trajectory; leave out --country");
    if (SameFile(out, points))
        return Usage("--out and --points name the same file");

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");

    std::unique_ptr<CAttractor> a(CreateAttractor(kind));
    if (!LoadRecordSettings(*a, settings))
        return 1;
    if (iterations >= 0)
        a->m_iteration.m_value = static_cast<int32_t>(iterations);

    CXmlDocument presets;
    if (!countries.empty()) {
        const std::string path =
            countriesFile.empty() ? platform::GetProgramFilePath("countries.xml") : countriesFile;
        if (std::string why; !presets.LoadFrom(path, &why)) {
            std::fprintf(stderr, "qel-render: cannot read %s\n",
                         why.empty() ? path.c_str() : why.c_str());
            return 1;
        }
        for (const std::string& name : countries)
            if (!FindCountry(presets, name)) {
                std::fprintf(stderr, "qel-render: no country named '%s' in %s\n", name.c_str(),
                             path.c_str());
                return 1;
            }
    }

    CHeadlessHost host(width, height);
    CPlotSurface surface;
    surface.SetAttractor(a.get());
    // One picture, drawn plane by plane: the canvas's own four pictures and four animation
    // buffers would take eight times its memory. Countries are drawn over one another, like an
    // export of accumulated countries.
    surface.CreateSurfaces(&host, false);
    surface.m_nAccumulate = countries.empty() ? 0 : 1;
    const std::string what =
        "a " + std::to_string(width) + "x" + std::to_string(height) + " picture";
    QImage picture;
    if (std::string why = platform::MemoryRefusal(4ull * width * height, what); why.empty())
        picture = QImage(width, height, QImage::Format_RGB32);
    else
        return std::fprintf(stderr, "qel-render: %s\n", why.c_str()), 1;
    if (picture.isNull())
        return std::fprintf(stderr, "qel-render: no memory for %s\n", what.c_str()), 1;
    bool ok = true;
    for (int k = all ? 0 : static_cast<int>(plane); k <= (all ? 3 : plane); ++k) {
        picture.fill(Qt::black);
        if (countries.empty())
            surface.RenderPlaneInto(picture, k);
        for (const std::string& name : countries) {
            ApplyCountryToAttractor(presets, name, *a);
            surface.RenderPlaneInto(picture, k);
        }
        ok = Save(picture, all ? NumberedName(out, k) : out) && ok;
    }
    std::string error;
    if (ok && !points.empty())
        ok = Written(WritePointList(*a, static_cast<int>(plane), points, &error), error);
    return ok ? 0 : 1;
}

// Memory that cannot be had, here or in the work of the pool (which hands it over as a failure),
// ends the program with a message, not an abort.
int main(int argc, char** argv) {
    try {
        return Render(argc, argv);
    } catch (...) {
        std::fprintf(stderr, "qel-render: %s\n", platform::CurrentFailure().c_str());
    }
    return 1;
}

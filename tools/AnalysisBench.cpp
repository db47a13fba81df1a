// qel-analysis-bench: converged stability maps of the economic model on one and on two threads
// against a bare single-thread loop of the drawing step over an unconverged map's work.
#include "analysis/LaneMap.h"
#include "analysis/Sweep.h"
#include "model/Attractor.h"
#include "platform/RuntimeDir.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QtConcurrent>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

using namespace qel;

namespace {

template <typename F> double BestSeconds(int repeats, F&& f) {
    double best = 1e300;
    for (int r = 0; r < repeats; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

// Processor time of this thread: on a shared machine it does not count the time others took.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

template <typename F> double BestCpuSeconds(int repeats, F&& f) {
    double best = 1e300;
    for (int r = 0; r < repeats; ++r) {
        const double t0 = ThreadSeconds();
        f();
        best = std::min(best, ThreadSeconds() - t0);
    }
    return best;
}

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// Wall time of the map; cores is the processor time it got over that wall time, which shows
// whether the machine gave it the cores at all.
double MapSeconds(const CSweep& s, int threads, int repeats, double& cores) {
    const std::vector<int> order = CoarseToFineOrder(s.nCount[0], s.nCount[1]);
    const int size = MapTileCells(), count = static_cast<int>(order.size());
    QList<int> tiles;
    for (int t = 0; t * size < count; ++t)
        tiles.push_back(t);
    const double cpu0 = ProcessSeconds();
    double wall = 0;
    const double best = BestSeconds(repeats, [&] {
        const auto t0 = std::chrono::steady_clock::now();
        QThreadPool pool;
        pool.setMaxThreadCount(threads);
        QtConcurrent::blockingMap(&pool, tiles, [&](int t) {
            const int n = std::min(size, count - t * size);
            std::vector<CMapCell> part(static_cast<size_t>(n));
            MapCells(s, order.data() + t * size, n, part.data());
        });
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    });
    cores = (ProcessSeconds() - cpu0) / wall;
    return best;
}

// Today's default work of an unconverged map, as a bare loop of the drawing step on one
// thread: per cell two trajectories of 5000 steps side by side. The floor the converged map is
// measured against.
double BareSeconds(const CSweep& s, int repeats, double& sink) {
    return BestCpuSeconds(repeats, [&] {
        CleanVectorState();
        for (int c = 0; c < s.CellCount(); ++c) {
            const CCellSetup cell = s.Cell(c % s.nCount[0], c / s.nCount[0]);
            const CStepParams& p = cell.params;
            WithKind(s.nKind, [&](auto k) {
                constexpr int K = decltype(k)::value;
                double x = cell.init[0], y = cell.init[1], z = cell.init[2];
                double u = x + 1e-8, v = y, w = z;
                for (int i = 0; i < 5000; ++i) {
                    Step<K>(p, x, y, z);
                    Step<K>(p, u, v, w);
                }
                sink += x + u;
            });
        }
    });
}

void Report(const CSweep& s, int repeats, double& sink) {
    const double bare = BareSeconds(s, repeats, sink);
    double cores1 = 0, cores2 = 0, modelTime = 0;
    const double one = MapSeconds(s, 1, repeats, cores1);
    const double two = MapSeconds(s, 2, repeats, cores2);
    for (const CMapCell& cell : RunMap(s, nullptr))
        modelTime += cell.r.dTime + s.run.dTransient;
    const double bareTime = s.CellCount() * 10000.0 * ModelTimePerStep(s.base.params.half * 2);
    std::printf("%dx%d cells: bare loop %.3f s; converged map 1 thread %.3f s (%.2f x the bare "
                "loop, %.2f cores busy), 2 threads %.3f s (%.2f x, %.2f cores busy)\n",
                s.nCount[0], s.nCount[1], bare, one, one / bare, cores1, two, two / bare, cores2);
    std::printf("  model time per second per core: converged map %.0f, bare loop %.0f "
                "(%.1f x)\n",
                modelTime / one, bareTime / bare, (modelTime / one) / (bareTime / bare));
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::atoi(argv[1]) : 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::unique_ptr<CAttractor> r(CreateAttractor(SORVAN_KIND));
    r->LoadSettings();
    CSweep s = CSweep::FromRecord(*r);
    std::printf("economic model, a x d over their limits, converged maps (%s; transient %g, "
                "error %g, longest %g model time per cell), lanes %s x%d; bare loop: the drawing "
                "step, one thread, two trajectories of 5000 steps per cell\n",
                DescribeMethod(s.run, r->m_variation.m_value).c_str(), s.run.dTransient,
                s.run.dTargetError, s.run.dMaxTime, LaneTarget().c_str(), LaneCount());
    double sink = 0;
    for (int side : {24, 128}) {
        s.nCount[0] = s.nCount[1] = side;
        Report(s, side > 24 ? 1 : repeats, sink);
    }
    return sink == 12345 ? 1 : 0;
}

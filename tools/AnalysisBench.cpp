// qel-analysis-bench: a stability map of the economic model on one and on two threads, and one
// cell against the bare integration of the same steps.
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
    QList<int> cells;
    for (int c = 0; c < s.CellCount(); ++c)
        cells.push_back(c);
    const double cpu0 = ProcessSeconds();
    double wall = 0;
    const double best = BestSeconds(repeats, [&] {
        const auto t0 = std::chrono::steady_clock::now();
        QThreadPool pool;
        pool.setMaxThreadCount(threads);
        QtConcurrent::mapped(&pool, cells, [&s](int c) { return MapCell(s, c); }).waitForFinished();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    });
    cores = (ProcessSeconds() - cpu0) / wall;
    return best;
}

// What a cell integrates, without measuring anything: the transient of one trajectory, then
// the measured steps of both side by side.
double BareSeconds(const CSweep& s, int cells, int repeats, double& sink) {
    return BestCpuSeconds(repeats, [&] {
        for (int c = 0; c < cells; ++c) {
            const CStepParams p = s.CellParams(c % s.nCount[0], c / s.nCount[0]);
            WithKind(s.nKind, [&](auto k) {
                constexpr int K = decltype(k)::value;
                double x = s.init[0], y = s.init[1], z = s.init[2];
                for (int64_t i = 0; i < s.run.nTransient; ++i)
                    Step<K>(p, x, y, z);
                double u = x + 1e-8, v = y, w = z;
                for (int64_t i = 0; i < s.run.nSteps; ++i) {
                    Step<K>(p, x, y, z);
                    Step<K>(p, u, v, w);
                }
                sink += x + u;
            });
        }
    });
}

} // namespace

int main(int argc, char** argv) {
    const int side = argc > 1 ? std::atoi(argv[1]) : 128;
    const int repeats = argc > 2 ? std::atoi(argv[2]) : 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::unique_ptr<CAttractor> r(CreateAttractor(SORVAN_KIND));
    r->LoadSettings();
    CSweep s = CSweep::FromRecord(*r);
    s.nCount[0] = s.nCount[1] = side;
    s.run = {1000, 5000};
    std::printf("economic model, a x d over their limits, %dx%d cells, 1000 + 5000 steps\n", side,
                side);
    double cores1 = 0, cores2 = 0;
    const double one = MapSeconds(s, 1, repeats, cores1);
    const double two = MapSeconds(s, 2, repeats, cores2);
    std::printf("1 thread  %8.3f s (%.2f cores busy)\n2 threads %8.3f s (%.2f cores busy)   "
                "speed-up %.2f x\n",
                one, cores1, two, cores2, one / two);
    // Cells around the shipped economy, which all stay finite: a diverged cell stops early and
    // would flatter the comparison.
    CSweep finite = s;
    finite.nCount[0] = finite.nCount[1] = 16;
    finite.lo[0] = r->m_param[0].m_value, finite.hi[0] = finite.lo[0] + 1;
    finite.lo[1] = r->m_param[3].m_value, finite.hi[1] = finite.lo[1] + 0.1;
    const int cells = finite.CellCount();
    double sink = 0, cellSeconds = 1e300, bare = 1e300;
    for (int r = 0; r < repeats; ++r) {
        bare = std::min(bare, BareSeconds(finite, cells, 1, sink));
        cellSeconds = std::min(cellSeconds, BestCpuSeconds(1, [&] {
                                   for (int c = 0; c < cells; ++c)
                                       sink += MapCell(finite, c).dExponent;
                               }));
    }
    std::printf("per cell %.3f ms, bare integration of the same steps (two trajectories) "
                "%.3f ms: %.2f x%s\n",
                cellSeconds / cells * 1e3, bare / cells * 1e3, cellSeconds / bare,
                sink == 12345 ? " " : "");
    return 0;
}

// qel-bench: what the passes cost against the bare integration, for every kind.
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "model/Attractor.h"
#include "model/KindTable.h"
#include "platform/RuntimeDir.h"
#include "qel-bench-bare.h"

#include <QGuiApplication>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <sys/resource.h>
#include <time.h>

namespace {
// CPU time of the calling thread, so that other programs on a busy machine count less; the
// wall time too, for the Run, whose drawing runs on a second thread.
struct CTimes {
    double cpu = 1e300, wall = 1e300, process = 1e300;
};
double Now(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + t.tv_nsec * 1e-9;
}
template <typename F> void Measure(CTimes& best, F&& f) {
    const double c0 = Now(CLOCK_THREAD_CPUTIME_ID), w0 = Now(CLOCK_MONOTONIC);
    const double p0 = Now(CLOCK_PROCESS_CPUTIME_ID);
    f();
    best.cpu = std::min(best.cpu, Now(CLOCK_THREAD_CPUTIME_ID) - c0);
    best.wall = std::min(best.wall, Now(CLOCK_MONOTONIC) - w0);
    best.process = std::min(best.process, Now(CLOCK_PROCESS_CPUTIME_ID) - p0);
}

// A window as the drawing window is one: screen copies into an image of its own under a lock.
class CBenchHost : public CHeadlessHost {
public:
    CBenchHost() : CHeadlessHost(591, 515), m_image(591, 515, QImage::Format_RGB32) {}
    void CopyToScreen(const QImage& picture) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::memcpy(m_image.bits(), picture.constBits(), std::size_t(m_image.sizeInBytes()));
    }
    std::mutex m_mutex;
    QImage m_image;
};

constexpr long long kAnimatedPoints = 100000;

bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}
} // namespace

int main(int argc, char** argv) {
    const long long n = argc > 1 ? std::atoll(argv[1]) : 2000000;
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const int only = argc > 3 ? qel::KindFromText(argv[3]) : -1;
    if (n < 1 || n > 2147483647LL || (argc > 3 && only < 0)) {
        std::fprintf(stderr, "usage: qel-bench [POINTS (1..2147483647, default 2000000)] "
                             "[REPEATS (default 3)] [KIND (default all)]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::printf("qel-bench: %lld points, best of %d; compiler %s; flags %s\n", n, repeats,
                QEL_BENCH_COMPILER, QEL_BENCH_FLAGS);
    std::printf(
        "bare: the integration alone, equations inline (qel-bench-bare.cpp), same compiler and "
        "flags\nratios: (pass at N - pass at 0 points) / bare, in CPU time of the thread that "
        "integrates;\n\"4 both\" in CPU time of both threads, \"1 wall\" and \"4 wall\" in wall "
        "time (on an idle machine\nthe drawing thread has a core of its own); the animation pass "
        "without its 1 ms sleeps, over its\nfirst %lld points\n",
        kAnimatedPoints);
    std::printf("%-9s %8s %8s %8s %8s %8s %8s %8s %8s %5s\n", "kind", "bare ns", "advance",
                "1 plane", "1 wall", "4 planes", "4 both", "4 wall", "animate", "same");
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        if (only >= 0 && k != only)
            continue;
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        a->LoadSettings();
        double params[7];
        for (int i = 0; i < 7; ++i)
            params[i] = a->m_param[i].m_value;
        CBenchHost host;
        CPlotSurface surface;
        surface.SetAttractor(a.get());
        surface.CreateSurfaces(&host);
        CTrajectoryPlotter& p = surface.Plotter();
        p.m_nPauseMicros = 0;
        QImage target(591, 515, QImage::Format_RGB32);
        // Its screen copy every ten points costs a hundred times the integration of the ten:
        // fewer points give the same ratio.
        const long long animated = std::min(n, kAnimatedPoints);
        auto points = [&](long long count) {
            a->m_iteration.m_value = static_cast<int32_t>(count);
        };

        CTimes bare, advance, one, one0, four, four0, animate, animate0;
        double bx = 0, by = 0, bz = 0;
        for (int r = 0; r < repeats; ++r) { // interleaved, so that a busy moment hits all alike
            Measure(bare, [&] {
                bx = a->m_initX.m_value, by = a->m_initY.m_value, bz = a->m_initZ.m_value;
                BareIntegrate(k, params, a->m_variation.m_value, bx, by, bz, n);
            });
            points(n);
            Measure(advance, [&] {
                p.BeginPass(0);
                for (long long i = 0; i < n; ++i)
                    p.Advance();
            });
            Measure(one, [&] { surface.RenderPlaneInto(target, 0); });
            Measure(four, [&] { surface.Reset(&host, 0); });
            points(0);
            Measure(one0, [&] { surface.RenderPlaneInto(target, 0); });
            Measure(four0, [&] { surface.Reset(&host, 0); });
            Measure(animate0, [&] { surface.DrawPlane(0, nullptr); });
            points(animated);
            Measure(animate, [&] { surface.DrawPlane(0, nullptr); });
        }
        // The bare loop is the same integration: its last point is the plotter's.
        points(n);
        p.BeginPass(0);
        for (long long i = 0; i < n; ++i)
            p.Advance();
        const bool same = Same(bx, p.m_x) && Same(by, p.m_y) && Same(bz, p.m_z);
        const double floor = bare.cpu;
        std::printf("%-9s %8.1f %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %5s\n", a->GetName(),
                    floor * 1e9 / n, advance.cpu / floor, (one.cpu - one0.cpu) / floor,
                    (one.wall - one0.wall) / bare.wall, (four.cpu - four0.cpu) / floor,
                    (four.process - four0.process) / floor, (four.wall - four0.wall) / bare.wall,
                    (animate.cpu - animate0.cpu) * n / animated / floor, same ? "yes" : "NO");
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory (getrusage maxrss): %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}

// qel-bench: the cost of drawing against the bare integration, for every kind.
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "model/Attractor.h"

#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

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
} // namespace

int main(int argc, char** argv) {
    long long n = argc > 1 ? std::atoll(argv[1]) : 1000000;
    int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    std::printf("%lld points, best of %d\n%-9s %10s %10s %10s %10s %10s\n", n, repeats, "kind",
                "bare s", "pass s", "reset s", "pass/bare", "reset/bare");
    for (int k = 0; k < ATTRACTOR_COUNT; ++k) {
        std::unique_ptr<CAttractor> a(CreateAttractor(k));
        a->LoadSettings();
        a->m_iteration.m_value = static_cast<int32_t>(n);
        CHeadlessHost host(591, 515);
        CPlotSurface surface;
        surface.SetAttractor(a.get());
        surface.CreateSurfaces(&host);
        CTrajectoryPlotter& p = surface.Plotter();
        volatile double sink = 0;
        double bare = BestSeconds(repeats, [&] {
            p.BeginPass(0);
            for (long long i = 0; i < n; ++i)
                p.Advance();
            sink = p.m_x + p.m_y + p.m_z;
        });
        QImage target(591, 515, QImage::Format_RGB32);
        double pass = BestSeconds(repeats, [&] { surface.RenderPlaneInto(target, 0); });
        double reset = BestSeconds(repeats, [&] { surface.Reset(&host, 0); });
        std::printf("%-9s %10.4f %10.4f %10.4f %10.3f %10.3f\n", a->GetName(), bare, pass, reset,
                    pass / bare, reset / bare);
        (void)sink;
    }
    return 0;
}

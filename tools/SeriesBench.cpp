// qel-series-bench: the time-series window and the trajectory export against the bare
// integration of the same points, in one run.
#include "analysis/RecordSnapshot.h"
#include "analysis/TimeEnvelope.h"
#include "analysis/TrajectoryCsv.h"
#include "app/TimeSeriesWnd.h"
#include "app/TrajectoryFile.h"
#include "model/Integrator.h"
#include "platform/RuntimeDir.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <qcustomplot.h>

namespace {
template <typename F> double Seconds(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
} // namespace

int main(int argc, char** argv) {
    const long long n = argc > 1 ? std::atoll(argv[1]) : 10000000;
    const char* kind = argc > 2 ? argv[2] : "Sorvan";
    const std::string out = argc > 3 ? argv[3] : QDir::tempPath().toStdString() + "/qel-bench.csv";
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::EnsureRuntimeDir();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int k = 0;
    while (k < ATTRACTOR_COUNT && std::string(AttractorKindName(k)) != kind)
        ++k;
    std::unique_ptr<CAttractor> a(CreateAttractor(k < ATTRACTOR_COUNT ? k : SORVAN_KIND));
    a->LoadSettings();
    a->m_iteration.m_value = static_cast<int32_t>(n);

    volatile double sink = 0;
    const double bare = Seconds([&] {
        double x = a->m_initX.m_value, y = a->m_initY.m_value, z = a->m_initZ.m_value, s = 0;
        qel::Integrate(*a, x, y, z, n, [&](double X, double, double) { s += X; });
        sink = s;
    });
    CTimeSeriesWnd wnd(nullptr, nullptr);
    wnd.show();
    const std::string names[3] = {a->m_szAxisX, a->m_szAxisY, a->m_szAxisZ};
    const double draw = Seconds([&] {
        std::vector<CNamedRecord> in;
        in.push_back({a->GetName(), qel::SnapshotRecord(*a)});
        wnd.SetTrajectories(std::move(in), names);
        wnd.FinishBuilding();
    });
    const double zoom = Seconds([&] { wnd.SetView(n * 0.25, n * 0.75); });
    const double format = Seconds([&] {
        qel::WriteTrajectoryCsv(*a, n, 0, n, {}, [](const char*, std::size_t) { return true; });
    });
    const double file = Seconds([&] {
        QEventLoop loop;
        std::vector<CCsvCurve> curves;
        curves.push_back({"", qel::SnapshotRecord(*a), n});
        ExportTrajectoryCsv(nullptr, QString::fromStdString(out), std::move(curves), 0, n,
                            [&](bool) { loop.quit(); });
        loop.exec();
    });
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(out, ec);
    std::filesystem::remove(out, ec);
    std::printf("%s, %lld points (%d columns, %lld steps a bucket)\n", a->GetName(), n + 1,
                wnd.Columns(), static_cast<long long>(wnd.Envelope(0).BucketSize()));
    std::printf("%-34s %8.3f s\n", "bare integration", bare);
    std::printf("%-34s %8.3f s %6.2f x\n", "time series: build and draw", draw, draw / bare);
    std::printf("%-34s %8.3f s %6.3f x\n", "time series: zoom to half", zoom, zoom / bare);
    std::printf("%-34s %8.3f s %6.2f x\n", "CSV: formatting only", format, format / bare);
    std::printf("%-34s %8.3f s %6.2f x  (%.0f MB)\n", "CSV: export to a file", file, file / bare,
                bytes / 1e6);
    (void)sink;
    return 0;
}

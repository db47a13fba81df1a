#include "../support/TestRecord.h"
#include "TestKit.h"
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/TrajectoryPlotter.h"

#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Numbers at the edges of what the boxes and the settings file allow. Every pass must end,
// and no pixel may land outside its image; the sanitizer builds watch for the rest.
namespace {

constexpr int kW = 300, kH = 240, kGuard = 64, kStride = kW + 2 * kGuard;
constexpr uint32_t kMarker = 0xFF123456u;

// One pre-render pass of every plane, each into an image inside a larger buffer whose border
// holds a marker colour: a pixel written outside the image shows up there. Then an animation
// pass of plane 0, which must end with its message. Returns the lit pixels per plane.
std::vector<int> PassEveryPlane(CAttractor& a, const std::string& what) {
    CTrajectoryPlotter plotter;
    plotter.Attach(nullptr, 1);
    plotter.SetAttractor(&a);
    std::vector<int> lit;
    for (int plane = 0; plane < 4; ++plane) {
        std::vector<uint32_t> bits(std::size_t{kStride} * (kH + 2 * kGuard), kMarker);
        QImage img(reinterpret_cast<uchar*>(&bits[kGuard * kStride + kGuard]), kW, kH, kStride * 4,
                   QImage::Format_RGB32);
        img.fill(Qt::black);
        plotter.DrawTrajectory(plane, img, 1);
        EXPECT_EQ(std::count(bits.begin(), bits.end(), kMarker), long(bits.size()) - kW * kH)
            << what << ", plane " << plane << " drew outside its image";
        lit.push_back(CountPixels(img, Lit));
    }
    const int32_t points = a.m_iteration.m_value;
    a.m_iteration.m_value = std::min(points, 200); // an animation sleeps every ten points
    CHeadlessHost host(kW, kH);
    CPlotSurface surface;
    surface.SetAttractor(&a);
    surface.Reset(&host, 0);
    surface.DrawPlane(0, nullptr);
    EXPECT_EQ(host.m_nFinished, 1) << what;
    a.m_iteration.m_value = points;
    return lit;
}

TEST(EdgeNumbers, DivisionsByZeroStepsZoomsAndCentresAtTheLimits) {
    auto pick = TestRecord(3, 3000); // e / sin(X) with X = 0 on the first evaluation
    pick->m_initX.m_value = 0;
    PassEveryPlane(*pick, "Pickover at X = 0");
    auto sorvan = TestRecord(5, 3000); // (1 - f) Y / (1 - g) with g = 1
    sorvan->m_param[6].m_value = 1;
    PassEveryPlane(*sorvan, "g = 1");
    const std::vector<int> none(4, 0);
    for (int kind = 0; kind < ATTRACTOR_COUNT; ++kind) {
        auto a = TestRecord(kind, 2000);
        const std::string name = a->GetName();
        for (double step : {0.0001, 0.1, -0.1, 100.0}) {
            a->m_variation.m_value = step;
            PassEveryPlane(*a, name + " step " + std::to_string(step));
        }
        a->m_variation.m_value = 0; // the trajectory stands still: no segment has any length
        EXPECT_EQ(PassEveryPlane(*a, name + " step 0"), none);
        a->m_variation.m_value = 0.005;
        a->m_zoom.m_value = 100000;
        PassEveryPlane(*a, name + " zoom 100000");
        a->m_zoom.m_value = 0; // every point projects onto the centre
        EXPECT_EQ(PassEveryPlane(*a, name + " zoom 0"), none);
        // ... except a coordinate gone infinite, which is not a number there: with a large step
        // some kinds get there one coordinate before the other, and such a point draws nothing.
        for (double step : {1.0, 3.0, 100.0}) {
            a->m_variation.m_value = step;
            EXPECT_EQ(PassEveryPlane(*a, name + " zoom 0 step " + std::to_string(step)), none);
        }
    }
    // So far off that no point comes into view.
    for (const PLANE_CENTER& c : {PLANE_CENTER{INT32_MAX, INT32_MIN}, {-2000000000, 2000000000}}) {
        auto a = TestRecord(2, 2000);
        a->m_zoom.m_value = 100000;
        std::fill(std::begin(a->m_center), std::end(a->m_center), c);
        EXPECT_EQ(PassEveryPlane(*a, "far centre " + std::to_string(c.x)), none);
    }
}

} // namespace

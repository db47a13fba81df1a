#include "TestKit.h"
#include "TestLorenz.h"
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"

#include <QImage>
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// Numbers at the edges of what the boxes and the settings file allow. Every pass must end,
// and no pixel may land outside its image; the sanitizer builds watch for the rest.
namespace {

constexpr int kW = 300, kH = 240, kGuard = 64, kStride = kW + 2 * kGuard;
constexpr uint32_t kMarker = 0xFF123456u;

std::unique_ptr<CAttractor> Kind(int kind, int points) {
    std::unique_ptr<CAttractor> a(CreateAttractor(kind));
    for (int i = 0; i < 7; ++i)
        a->m_param[i].Set(1.0, -1e9, 1e9);
    a->m_initX.Set(0.5, -1e9, 1e9);
    a->m_initY.Set(0.5, -1e9, 1e9);
    a->m_initZ.Set(0.5, -1e9, 1e9);
    a->m_variation.Set(0.01, 0, 1);
    a->m_iteration.Set(points, 0, 10000000);
    a->m_zoom.Set(40, 0, 100000);
    return a;
}

// One pre-render pass of every plane, each into an image inside a larger buffer whose border
// holds a marker colour: a pixel written outside the image, in any build, shows up there. The
// number of lit pixels per plane, or -1 for a plane whose pass wrote outside its image.
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
        // Only the border holds the marker: no pass draws in that colour.
        const bool inside =
            std::count(bits.begin(), bits.end(), kMarker) == long(bits.size()) - kW * kH;
        EXPECT_TRUE(inside) << what << ", plane " << plane << " drew outside its image";
        lit.push_back(inside ? CountPixels(img, Lit) : -1);
    }
    return lit;
}

// The canvas with its axes and an animation pass of each plane, as the window would run it.
void CanvasAndAnimation(CAttractor& a, const std::string& what) {
    // An animation pass sleeps after every ten points: a short one is enough here.
    const int32_t points = a.m_iteration.m_value;
    a.m_iteration.m_value = std::min(points, 200);
    CHeadlessHost host(kW, kH);
    CPlotSurface surface;
    surface.SetAttractor(&a);
    surface.Reset(&host, 0);
    for (int plane = 0; plane < 4; ++plane) {
        EXPECT_EQ(surface.Picture(plane).size(), QSize(kW, kH)) << what;
        surface.DrawPlane(plane, nullptr);
        EXPECT_EQ(host.m_nFinished, plane + 1) << what << ", plane " << plane;
        EXPECT_EQ(CountPixels(surface.AnimationBuffer(plane), Lit, {}, 7), 0) << what;
    }
    a.m_iteration.m_value = points;
}

} // namespace

TEST(EdgeNumbers, PickoverThroughXZeroAndTheEconomicModelWithGOne) {
    // e / sin(X) with X = 0 on the very first evaluation.
    auto pick = Kind(3, 3000);
    pick->m_initX.m_value = 0;
    PassEveryPlane(*pick, "Pickover at X = 0");
    CanvasAndAnimation(*pick, "Pickover at X = 0");
    // Also when the trajectory reaches X = 0 only later, from a negative start.
    pick->m_initX.m_value = -0.03;
    pick->m_param[0].m_value = 0;
    PassEveryPlane(*pick, "Pickover crossing X = 0");
    // (1 - f) Y / (1 - g) with g = 1 divides by zero; with f = 1 as well it is 0 / 0.
    auto sorvan = Kind(5, 3000);
    sorvan->m_param[6].m_value = 1;
    PassEveryPlane(*sorvan, "g = 1");
    CanvasAndAnimation(*sorvan, "g = 1");
    sorvan->m_param[5].m_value = 1;
    PassEveryPlane(*sorvan, "f = g = 1");
}

TEST(EdgeNumbers, StepsAtTheLimitsOfEveryShippedKind) {
    for (int kind = 0; kind < ATTRACTOR_COUNT; ++kind) {
        std::unique_ptr<CAttractor> a(CreateAttractor(kind));
        a->LoadSettings(); // the shipped file beside the tests
        ASSERT_TRUE(a->m_variation.m_bInUse) << a->GetName();
        a->m_iteration.m_value = 2000;
        const double lower = a->m_variation.m_lower, upper = a->m_variation.m_upper;
        for (double step : {lower, upper, 0.0, -upper, upper * 1000}) {
            a->m_variation.m_value = step;
            const std::string what = std::string(a->GetName()) + " step " + std::to_string(step);
            const std::vector<int> lit = PassEveryPlane(*a, what);
            // At step 0 the trajectory stands still: no segment has any length.
            EXPECT_TRUE(step != 0.0 || lit == std::vector<int>(4, 0)) << what;
        }
    }
}

TEST(EdgeNumbers, ZoomAtZeroAndAtItsUpperLimitAndCentresFarOutside) {
    for (int kind = 0; kind < ATTRACTOR_COUNT; ++kind) {
        auto a = Kind(kind, 2000);
        const std::string name = a->GetName();
        // Every point projects onto the centre: nothing to draw.
        a->m_zoom.m_value = 0;
        EXPECT_EQ(PassEveryPlane(*a, name + " zoom 0"), (std::vector<int>{0, 0, 0, 0}));
        CanvasAndAnimation(*a, name + " zoom 0");
        a->m_zoom.m_value = 100000;
        PassEveryPlane(*a, name + " zoom 100000");
        CanvasAndAnimation(*a, name + " zoom 100000");
    }
    // So far off that no point comes into view; the axes are the canvas tests' concern.
    const PLANE_CENTER far[] = {{INT32_MAX, INT32_MAX},
                                {INT32_MIN, INT32_MIN},
                                {INT32_MAX, INT32_MIN},
                                {-2000000000, 2000000000}};
    for (const PLANE_CENTER& c : far) {
        auto a = Kind(2, 2000);
        a->m_zoom.m_value = 100000;
        std::fill(std::begin(a->m_center), std::end(a->m_center), c);
        const std::string what = "centre " + std::to_string(c.x) + "," + std::to_string(c.y);
        EXPECT_EQ(PassEveryPlane(*a, what), (std::vector<int>{0, 0, 0, 0})) << what;
        CanvasAndAnimation(*a, what);
    }
}

TEST(EdgeNumbers, TenMillionPointsFinishWithEveryProgressMessage) {
    auto a = TestLorenz(10000000); // the upper limit of the Iteration box
    CHeadlessHost host(kW, kH);
    CPlotSurface surface;
    surface.SetAttractor(a.get());
    surface.Reset(&host, 0);
    EXPECT_EQ(host.m_nProgress, 4 * 1000000); // one per ten points in each of four planes
    EXPECT_EQ(host.m_nFinished, 0);
    EXPECT_GT(CountPixels(surface.Picture(0), Lit), 1000); // the butterfly is there
}

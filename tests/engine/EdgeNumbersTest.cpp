#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/RunGate.h"
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

constexpr int kW = 300, kH = 240;

// An image inside a larger buffer whose border holds a marker colour: a pixel written
// outside the image, in any build, shows up in the border.
class CGuardedImage {
public:
    static constexpr int kGuard = 64;
    static constexpr uint32_t kMarker = 0xFF123456u;

    CGuardedImage()
        : m_stride(kW + 2 * kGuard), m_bits(static_cast<std::size_t>(m_stride) * (kH + 2 * kGuard),
                                            kMarker),
          m_image(reinterpret_cast<uchar*>(&m_bits[kGuard * m_stride + kGuard]), kW, kH,
                  m_stride * 4, QImage::Format_RGB32) {
        m_image.fill(Qt::black);
    }
    QImage& Image() { return m_image; }
    bool BorderIntact() const {
        for (int y = 0; y < kH + 2 * kGuard; ++y)
            for (int x = 0; x < m_stride; ++x) {
                const bool inside = y >= kGuard && y < kGuard + kH && x >= kGuard &&
                                    x < kGuard + kW;
                if (!inside && m_bits[static_cast<std::size_t>(y) * m_stride + x] != kMarker)
                    return false;
            }
        return true;
    }
    int Lit() const {
        int n = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                n += (m_image.pixel(x, y) & 0xFFFFFF) != 0;
        return n;
    }

private:
    int m_stride;
    std::vector<uint32_t> m_bits;
    QImage m_image;
};

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

// One pre-render pass of every plane into guarded images; the number of lit pixels per
// plane, or -1 for a plane whose pass wrote outside its image.
std::vector<int> PassEveryPlane(CAttractor& a) {
    CTrajectoryPlotter plotter;
    plotter.Attach(nullptr, 1);
    plotter.SetAttractor(&a);
    std::vector<int> lit;
    for (int plane = 0; plane < 4; ++plane) {
        CGuardedImage img;
        plotter.DrawTrajectory(plane, img.Image(), 1);
        lit.push_back(img.BorderIntact() ? img.Lit() : -1);
    }
    return lit;
}

void ExpectInside(const std::vector<int>& lit, const std::string& what) {
    for (int plane = 0; plane < 4; ++plane)
        EXPECT_GE(lit[plane], 0) << what << ", plane " << plane << " drew outside its image";
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
        const int finished = host.m_nFinished;
        surface.DrawPlane(plane, nullptr);
        EXPECT_EQ(host.m_nFinished, finished + 1) << what << ", plane " << plane;
        const QImage& buffer = surface.AnimationBuffer(plane);
        for (int y = 0; y < kH; y += 7)
            for (int x = 0; x < kW; x += 7)
                ASSERT_EQ(buffer.pixel(x, y), 0xFF000000u) << what;
    }
    a.m_iteration.m_value = points;
}

} // namespace

TEST(EdgeNumbers, PickoverThroughXZeroAndTheEconomicModelWithGOne) {
    // e / sin(X) with X = 0 on the very first evaluation.
    auto pick = Kind(3, 3000);
    pick->m_initX.m_value = 0;
    ExpectInside(PassEveryPlane(*pick), "Pickover at X = 0");
    CanvasAndAnimation(*pick, "Pickover at X = 0");
    // Also when the trajectory reaches X = 0 only later, from a negative start.
    pick->m_initX.m_value = -0.03;
    pick->m_param[0].m_value = 0;
    ExpectInside(PassEveryPlane(*pick), "Pickover crossing X = 0");

    // (1 - f) Y / (1 - g) with g = 1 divides by zero; with f = 1 as well it is 0 / 0.
    auto sorvan = Kind(5, 3000);
    sorvan->m_param[6].m_value = 1;
    ExpectInside(PassEveryPlane(*sorvan), "g = 1");
    CanvasAndAnimation(*sorvan, "g = 1");
    sorvan->m_param[5].m_value = 1;
    ExpectInside(PassEveryPlane(*sorvan), "f = g = 1");
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
            const std::vector<int> lit = PassEveryPlane(*a);
            ExpectInside(lit, what);
            if (step == 0.0) {
                // The trajectory stands still: no segment has any length.
                for (int plane = 0; plane < 4; ++plane)
                    EXPECT_EQ(lit[plane], 0) << what;
            }
        }
    }
}

TEST(EdgeNumbers, ZoomAtZeroAndAtItsUpperLimit) {
    for (int kind = 0; kind < ATTRACTOR_COUNT; ++kind) {
        auto a = Kind(kind, 2000);
        const std::string name = a->GetName();
        // Every point projects onto the centre: nothing to draw.
        a->m_zoom.m_value = 0;
        EXPECT_EQ(PassEveryPlane(*a), (std::vector<int>{0, 0, 0, 0})) << name;
        CanvasAndAnimation(*a, name + " zoom 0");
        a->m_zoom.m_value = 100000;
        ExpectInside(PassEveryPlane(*a), name + " zoom 100000");
        CanvasAndAnimation(*a, name + " zoom 100000");
    }
}

TEST(EdgeNumbers, ViewCentresFarOutsideKeepTheAxesInsideTheirMargins) {
    const PLANE_CENTER far[] = {{INT32_MAX, INT32_MAX},
                                {INT32_MIN, INT32_MIN},
                                {INT32_MAX, INT32_MIN},
                                {-2000000000, 2000000000}};
    for (const PLANE_CENTER& c : far) {
        auto a = Kind(2, 2000);
        a->m_zoom.m_value = 100000;
        for (PLANE_CENTER& centre : a->m_center)
            centre = c;
        const std::string what = "centre " + std::to_string(c.x) + "," + std::to_string(c.y);
        const std::vector<int> lit = PassEveryPlane(*a);
        ExpectInside(lit, what);
        // So far off that no point of the trajectory comes into view.
        EXPECT_EQ(lit, (std::vector<int>{0, 0, 0, 0})) << what;
        CHeadlessHost host(kW, kH);
        CPlotSurface surface;
        surface.SetAttractor(a.get());
        surface.Reset(&host, 0);
        // The axes sit at their clamped places: rows 10 or H - 10, columns 20 or W - 10.
        const QImage& pic = surface.Picture(0);
        const int row = c.y > 0 ? kH - 10 : 10, column = c.x > 0 ? 20 : kW - 10;
        EXPECT_EQ(pic.pixel(kW / 2, row), 0xFFFFFFFFu) << what;
        EXPECT_EQ(pic.pixel(column, kH / 2 + 7), 0xFFFFFFFFu) << what;
    }
}

TEST(EdgeNumbers, TenMillionPointsFinishWithEveryProgressMessage) {
    auto a = Kind(2, 10000000); // the upper limit of the Iteration box
    a->m_param[0].m_value = 28;
    a->m_param[1].m_value = 8.0 / 3.0;
    a->m_param[2].m_value = 10;
    a->m_variation.m_value = 0.005;
    a->m_zoom.m_value = 6;
    a->m_center[1] = a->m_center[2] = a->m_center[3] = {0, 25};
    CHeadlessHost host(kW, kH);
    CPlotSurface surface;
    surface.SetAttractor(a.get());
    surface.Reset(&host, 0);
    EXPECT_EQ(host.m_nProgress, 4 * 1000000); // one per ten points in each of four planes
    EXPECT_EQ(host.m_nFinished, 0);
    int lit = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            lit += (surface.Picture(0).pixel(x, y) & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 1000); // the butterfly is there
}

#include "../support/TestRecord.h"
#include "TestKit.h"
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"

#include <QImage>
#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {
const uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

struct Canvas {
    CHeadlessHost host;
    CPlotSurface surface;
    explicit Canvas(CAttractor* a, int w = 300, int h = 240) : host(w, h) {
        surface.SetAttractor(a);
        surface.CreateSurfaces(&host);
    }
    // Accumulate mode keeps the fill, so label boxes show against white.
    QImage Render(int plane, uint32_t fill = kBlack) {
        if (fill != kBlack) {
            surface.m_nAccumulate = 1;
            surface.m_bClearPending = false;
        }
        QImage img(host.ClientWidth(), host.ClientHeight(), QImage::Format_RGB32);
        img.fill(fill);
        surface.RenderPlaneInto(img, plane);
        return img;
    }
};

// The first row (column) whose samples are all white, skipping the crossing axis.
int RowOfHorizontalAxis(const QImage& img, int column) {
    for (int y = 0; y < img.height(); ++y) {
        bool line = true;
        for (int x = 0; x < 60 && line; x += 7)
            line = img.pixel(x, y) == kWhite || x == column;
        if (line)
            return y;
    }
    return -1;
}
int ColumnOfVerticalAxis(const QImage& img) {
    for (int x = 0; x < img.width(); ++x) {
        bool line = true;
        for (int y = 30; y < 96 && line; y += 7)
            line = img.pixel(x, y) == kWhite;
        if (line)
            return x;
    }
    return -1;
}
} // namespace

TEST(Canvas, AxesFollowTheTruncatedZoomAndStayInsideTheirMargins) {
    auto a = TestRecord(2, 0);
    Canvas c(a.get());
    const struct {
        double zoom;
        PLANE_CENTER centre;
        int x, y;
    } cases[] = {
        {0, {7, 9}, 150, 120},                     // zoom 0: through the centre
        {2.7, {10, -5}, 130, 110},                 // 2.7 acts as 2: 150 - 20, -10 + 120
        {100000, {INT32_MIN, 0}, 290, 120},        // far left: 10 from the right
        {100000, {INT32_MAX, INT32_MAX}, 20, 230}, // 20 from the left, 10 from the bottom
        {100000, {0, INT32_MIN}, 150, 10},         // 10 from the top
        {100000, {-2000000000, 2000000000}, 290, 230},
    };
    for (const auto& k : cases) {
        a->m_zoom.m_value = k.zoom;
        a->m_center[0] = k.centre;
        QImage img = c.Render(0);
        EXPECT_EQ(ColumnOfVerticalAxis(img), k.x) << k.zoom << " " << k.centre.x;
        EXPECT_EQ(RowOfHorizontalAxis(img, k.x), k.y) << k.zoom << " " << k.centre.y;
    }
    // Too small for both margins: the upper bound wins.
    Canvas tiny(a.get(), 25, 15);
    a->m_zoom.m_value = 0;
    QImage img = tiny.Render(0);
    EXPECT_EQ(img.pixel(15, 3), kWhite); // vertical axis at W - 10 = 15
    EXPECT_EQ(img.pixel(2, 5), kWhite);  // horizontal axis at H - 10 = 5
}

TEST(Canvas, AxisLabelsInOpaqueBoxes) {
    auto a = TestRecord(2, 0);
    a->m_zoom.m_value = 0;
    Canvas c(a.get());
    const QImage img = c.Render(3, kWhite);
    // Horizontal-axis label "X", right-aligned in (210, 100)-(300, 120).
    EXPECT_GT(CountPixels(
                  img, [](QRgb p) { return p == kBlack; }, QRect(280, 100, 20, 20)),
              20);
    EXPECT_TRUE(img.pixel(215, 110) == kWhite && img.pixel(299, 121) == kWhite); // outside it
}

TEST(Canvas, ClearingAccumulateAndClearPending) {
    auto a = TestRecord(2, 300);
    CHeadlessHost host(200, 160);
    CPlotSurface s;
    s.SetAttractor(a.get());
    s.Reset(&host, 1); // first preparation: clear-pending clears plane 0 only
    auto fill = [&](int plane, uint32_t c) { const_cast<QImage&>(s.Picture(plane)).fill(c); };
    fill(0, 0xFF123456u);
    fill(1, 0xFF123456u);
    s.Reset(&host, 1); // accumulate: nothing cleared
    EXPECT_TRUE(s.Picture(0).pixel(1, 1) == 0xFF123456u && s.Picture(1).pixel(1, 1) == 0xFF123456u);
    s.SetAttractor(a.get()); // a new attractor clears the next target even in accumulate mode
    s.Reset(&host, 1);
    EXPECT_EQ(s.Picture(0).pixel(1, 1), kBlack);
    EXPECT_EQ(s.Picture(1).pixel(1, 1), 0xFF123456u);
    s.Reset(&host, 0);
    EXPECT_EQ(s.Picture(1).pixel(1, 1), kBlack);
}

TEST(Canvas, AnimationPassStopsOnlyForNoPointsOrAClosedGate) {
    auto a = TestRecord(2, 25);
    CHeadlessHost host(200, 160);
    CPlotSurface s;
    s.SetAttractor(a.get());
    s.Reset(&host, 0);
    s.m_nStop = 1; // cleared by DrawPlane: does not stop it
    s.DrawPlane(0, nullptr);
    EXPECT_TRUE(host.m_nCopies == 2 && host.m_nFinished == 1);
    // No points: the pass ends at once with its message.
    a->m_iteration.m_value = 0;
    s.DrawPlane(1, nullptr);
    EXPECT_EQ(host.m_nFinished, 2);
    EXPECT_EQ(host.m_nCopies, 2);
    // A closed gate: the call only opens it.
    RunGate().Reset();
    a->m_iteration.m_value = 25;
    s.DrawPlane(0, nullptr);
    EXPECT_TRUE(RunGate().IsSet());
    EXPECT_EQ(host.m_nFinished, 2);
}

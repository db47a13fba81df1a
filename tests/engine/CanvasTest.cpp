#include "../support/TestRecord.h"
#include "TestKit.h"
#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"

#include <QImage>
#include <chrono>
#include <climits>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

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

TEST(Canvas, ObliqueAxisAndLabelsInOpaqueBoxes) {
    auto a = TestRecord(2, 0);
    a->m_zoom.m_value = 0;
    Canvas c(a.get());
    QImage img = c.Render(3, kWhite);
    // Horizontal-axis label "X", right-aligned in (210, 100)-(300, 120).
    EXPECT_GT(CountPixels(
                  img, [](QRgb p) { return p == kBlack; }, QRect(280, 100, 20, 20)),
              20);
    EXPECT_TRUE(img.pixel(215, 110) == kWhite && img.pixel(299, 121) == kWhite); // outside it
    // Oblique axis from (150, 120) up to (290, 40).
    img = c.Render(3);
    EXPECT_EQ(img.pixel(150, 120), kWhite);
    bool oblique = false;
    for (int y = 40; y < 120; ++y)
        oblique |= img.pixel(220, y) == kWhite && img.pixel(220, y - 1) != kWhite;
    EXPECT_TRUE(oblique);
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

TEST(Canvas, SegmentsTakeTheColourOfTheirCrossings) {
    auto a = TestRecord(2, 1500);
    a->m_zoom.m_value = 9;
    a->m_center[0] = {8, 0}; // the right wing's revolutions cross the centre line
    Canvas c(a.get(), 591, 515);
    const QImage img = c.Render(0);
    // Follow the pass with its own loop and rules; check each segment's first pixel where no
    // later segment passed and no axis lies.
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    p.SetAttractor(a.get());
    CPlaneLane lane = p.StartLane(0);
    std::vector<COLORREF> colours;
    std::vector<QPoint> all{QPoint(295 + lane.m_oldCol, 257 - lane.m_oldRow)};
    p.RunPass(
        [&](double x, double y, double z) {
            int32_t col, row;
            lane.Take(x, y, z, col, row);
            colours.push_back(lane.m_color);
            all.push_back(QPoint(295 + col, 257 - row));
        },
        [] { return true; });
    int checked = 0, changes = 0;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const QPoint pt = all[i];
        bool hidden = pt.x() == 295 || pt.y() == 257;
        for (std::size_t j = i + 1; j < all.size() && !hidden; ++j)
            hidden = (all[j] - pt).manhattanLength() <= 3;
        if (hidden)
            continue;
        EXPECT_EQ(ColorRefFromPixel(img.pixel(pt)), colours[i]) << i;
        ++checked;
        changes += colours[i] != CTrajectoryPlotter::kStartColor;
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(changes, 10);
}

TEST(Canvas, AnimationPassCopiesEveryTenPointsAndLeavesItsBufferBlack) {
    auto a = TestRecord(2, 25);
    CHeadlessHost host(200, 160);
    CPlotSurface s;
    s.SetAttractor(a.get());
    s.Reset(&host, 0);
    host.m_nProgress = 0;
    s.m_nStop = 1; // cleared by DrawPlane: does not stop it
    const auto start = std::chrono::steady_clock::now();
    s.DrawPlane(0, nullptr);
    // Simulate's pace: at least 1 ms after each of the two batches (a lower bound only).
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2));
    EXPECT_TRUE(host.m_nProgress == 2 && host.m_nCopies == 2 && host.m_nFinished == 1);
    EXPECT_EQ(CountPixels(s.AnimationBuffer(0), Lit), 0);
    EXPECT_GT(CountPixels(host.m_screen, Lit), 0); // the screen keeps the last copy
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
    EXPECT_EQ(host.m_nProgress, 2);
}

#include "engine/HeadlessHost.h"
#include "engine/PlotSurface.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"
#include "TestLorenz.h"
#include "../support/TempDir.h"

#include <QImage>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
const uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

auto Lorenz(int points = 2000) { return TestLorenz(points); }

struct Canvas {
    CHeadlessHost host;
    CPlotSurface surface;
    explicit Canvas(CAttractor* a, int w = 300, int h = 240) : host(w, h) {
        surface.SetAttractor(a);
        surface.CreateSurfaces(&host);
    }
    QImage Render(int plane, uint32_t fill = kBlack) {
        QImage img(host.ClientWidth(), host.ClientHeight(), QImage::Format_RGB32);
        img.fill(fill);
        surface.RenderPlaneInto(img, plane);
        return img;
    }
};

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
    auto a = Lorenz(0);
    Canvas c(a.get());
    struct Case {
        double zoom;
        PLANE_CENTER centre;
        int x, y;
    } cases[] = {
        {0, {7, 9}, 150, 120},         // zoom 0: through the centre
        {2.7, {10, -5}, 130, 110},     // 2.7 acts as 2: x = 150 - 20, y = -10 + 120
        {3, {-1000, 0}, 290, 120},     // far left centre: 10 from the right
        {3, {1000, 1000}, 20, 230},    // 20 from the left, 10 from the bottom
        {3, {0, -1000}, 150, 10},      // 10 from the top
    };
    for (const Case& k : cases) {
        a->m_zoom.m_value = k.zoom;
        a->m_center[0] = k.centre;
        QImage img = c.Render(0);
        EXPECT_EQ(ColumnOfVerticalAxis(img), k.x) << k.zoom << " " << k.centre.x;
        EXPECT_EQ(RowOfHorizontalAxis(img, k.x), k.y) << k.zoom << " " << k.centre.y;
    }
    // Too small for both margins: the upper bound wins.
    auto b = Lorenz(0);
    Canvas tiny(b.get(), 25, 15);
    QImage img = tiny.Render(0);
    EXPECT_EQ(img.pixel(15, 3), kWhite); // vertical axis at W - 10 = 15
    EXPECT_EQ(img.pixel(2, 5), kWhite);  // horizontal axis at H - 10 = 5
}

TEST(Canvas, ObliquePlaneHasAThirdAxisAndLabelsSitInOpaqueBoxes) {
    auto a = Lorenz(0);
    a->m_zoom.m_value = 0;
    Canvas c(a.get());
    // Accumulate mode keeps the white fill, so the label boxes show as black.
    c.surface.m_nAccumulate = 1;
    c.surface.m_bClearPending = false;
    QImage img = c.Render(3, kWhite);
    // Horizontal-axis label "X", right-aligned in (210, 100)-(300, 120).
    int black = 0;
    for (int x = 280; x < 300; ++x)
        for (int y = 100; y < 120; ++y)
            black += img.pixel(x, y) == kBlack;
    EXPECT_GT(black, 20);
    EXPECT_EQ(img.pixel(215, 110), kWhite); // outside the text's own box
    EXPECT_EQ(img.pixel(299, 121), kWhite); // below the label rectangle
    // Oblique axis from (150, 120) up to (290, 40).
    img = c.Render(3, kBlack);
    EXPECT_EQ(img.pixel(150, 120), kWhite);
    bool oblique = false;
    for (int y = 40; y < 120; ++y)
        oblique |= img.pixel(220, y) == kWhite && img.pixel(220, y - 1) != kWhite;
    EXPECT_TRUE(oblique);
}

TEST(Canvas, LabelBoxStartsAtZeroNearTheLeftEdge) {
    auto a = Lorenz(0);
    a->m_zoom.m_value = 1;
    a->m_center[0] = {100, 0}; // vertical axis at column 50 < 70
    Canvas c(a.get());
    c.surface.m_nAccumulate = 1;
    c.surface.m_bClearPending = false;
    QImage img = c.Render(0, kWhite);
    // The label "Y" is centred in (0, 0)-(140, 20): around column 70, not 50.
    int sum = 0, n = 0;
    for (int x = 0; x < 140; ++x)
        for (int y = 0; y < 20; ++y)
            if (img.pixel(x, y) != kWhite && x != 50) {
                sum += x;
                ++n;
            }
    ASSERT_GT(n, 0);
    EXPECT_NEAR(sum / n, 70, 6);
}

TEST(Canvas, ClearingAccumulateAndClearPending) {
    auto a = Lorenz(300);
    CHeadlessHost host(200, 160);
    CPlotSurface s;
    s.SetAttractor(a.get());
    s.Reset(&host, 1); // first preparation: clear-pending clears plane 0 only
    const_cast<QImage&>(s.Picture(1)).fill(0xFF123456u);
    const_cast<QImage&>(s.Picture(0)).fill(0xFF123456u);
    s.Reset(&host, 1); // accumulate: nothing cleared
    EXPECT_EQ(s.Picture(0).pixel(1, 1), 0xFF123456u);
    EXPECT_EQ(s.Picture(1).pixel(1, 1), 0xFF123456u);
    s.SetAttractor(a.get()); // a new attractor clears the next target even in accumulate mode
    s.Reset(&host, 1);
    EXPECT_EQ(s.Picture(0).pixel(1, 1), kBlack);
    EXPECT_EQ(s.Picture(1).pixel(1, 1), 0xFF123456u);
    s.Reset(&host, 0);
    EXPECT_EQ(s.Picture(1).pixel(1, 1), kBlack);
    // ClearPlane blacks out exactly its rectangle.
    const_cast<QImage&>(s.Picture(2)).fill(kWhite);
    s.ClearPlane(2, QRect(10, 10, 5, 5));
    EXPECT_EQ(s.Picture(2).pixel(12, 12), kBlack);
    EXPECT_EQ(s.Picture(2).pixel(16, 12), kWhite);
}

TEST(Canvas, OneResetEqualsFourSeparatePassesWithTheSameMessagesAndTrace) {
    auto a = Lorenz(4003);
    TempDir dir;
    CTrajectoryPlotter::SetTracePath(dir.File("trace.txt"));
    CHeadlessHost host(321, 255);
    CPlotSurface s;
    s.SetAttractor(a.get());
    s.Reset(&host, 0);
    EXPECT_EQ(host.m_nProgress, 4 * 400);
    EXPECT_EQ(host.m_nCopies, 0);
    EXPECT_EQ(host.m_nFinished, 0);
    std::string trace = TempDir::Read(dir.File("trace.txt"));

    CHeadlessHost host2(321, 255);
    CPlotSurface separate;
    separate.SetAttractor(a.get());
    separate.CreateSurfaces(&host2);
    std::remove(dir.File("trace.txt").c_str());
    for (int plane = 0; plane < 4; ++plane) {
        QImage img(321, 255, QImage::Format_RGB32);
        separate.RenderPlaneInto(img, plane);
        EXPECT_EQ(img, s.Picture(plane)) << plane;
    }
    EXPECT_EQ(host2.m_nProgress, 4 * 400);
    EXPECT_EQ(TempDir::Read(dir.File("trace.txt")), trace);
    CTrajectoryPlotter::SetTracePath("");
    EXPECT_EQ(trace, "*** Zoom 6.00 Plane 0\noldCol 6.00, oldRow 6.00\n"
                     "*** Zoom 6.00 Plane 1\noldCol 6.00, oldRow -144.00\n"
                     "*** Zoom 6.00 Plane 2\noldCol 6.00, oldRow -144.00\n"
                     "*** Zoom 6.00 Plane 3\noldCol 10.00, oldRow -139.00\n");
}

TEST(Canvas, SegmentsTakeTheColourOfTheirCrossings) {
    auto a = Lorenz(1500);
    a->m_zoom.m_value = 9;
    a->m_center[0] = {8, 0}; // the right wing's revolutions cross the centre line
    Canvas c(a.get(), 591, 515);
    QImage img = c.Render(0);
    // Follow the pass with the plotter's own rules and check each segment's first pixel
    // where no later segment passed.
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    p.SetAttractor(a.get());
    p.BeginPass(0);
    std::vector<std::pair<QPoint, COLORREF>> starts;
    COLORREF color = CTrajectoryPlotter::kStartColor;
    std::vector<QPoint> all{QPoint(295 + int(p.m_oldCol), 257 - int(p.m_oldRow))};
    for (int i = 0; i < 1500; ++i) {
        p.Advance();
        int col = p.Column(0, p.m_x, p.m_y, p.m_z), row = p.Row(0, p.m_x, p.m_y, p.m_z);
        if (p.ColorChangesEnabled() && p.CrossesCentre(col))
            color = p.NextColor();
        starts.push_back({all.back(), color});
        all.push_back(QPoint(295 + col, 257 - row));
        p.m_oldCol = col;
    }
    int checked = 0, changes = 0;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const QPoint pt = starts[i].first;
        if (pt.x() == 295 || pt.y() == 257)
            continue; // the axes are drawn first and may be overdrawn
        bool revisited = false;
        for (std::size_t j = i + 1; j < all.size() && !revisited; ++j)
            revisited = (all[j] - pt).manhattanLength() <= 3;
        if (revisited)
            continue;
        EXPECT_EQ(ColorRefFromPixel(img.pixel(pt)), starts[i].second) << i;
        ++checked;
        changes += starts[i].second != CTrajectoryPlotter::kStartColor;
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(changes, 10);
}

TEST(Canvas, AnimationPassCopiesEveryTenPointsAndLeavesItsBufferBlack) {
    auto a = Lorenz(25);
    CHeadlessHost host(200, 160);
    CPlotSurface s;
    s.SetAttractor(a.get());
    s.Reset(&host, 0);
    host.m_nProgress = 0;
    s.m_nStop = 1; // cleared by DrawPlane: does not stop it
    s.DrawPlane(0, nullptr);
    EXPECT_EQ(host.m_nProgress, 2);
    EXPECT_EQ(host.m_nCopies, 2);
    EXPECT_EQ(host.m_nFinished, 1);
    bool drawn = false;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(s.AnimationBuffer(0).pixel(x, y), kBlack);
            drawn |= host.m_screen.pixel(x, y) != kBlack;
        }
    EXPECT_TRUE(drawn); // the screen keeps the last copy

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

    // ShowPlane copies the picture and reports it.
    s.ShowPlane(2);
    EXPECT_EQ(host.m_nShown, 1);
    EXPECT_EQ(host.m_screen, s.Picture(2));
    s.ShowPlane(9);
    EXPECT_EQ(host.m_nShown, 2);
}

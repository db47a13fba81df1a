#include "engine/LineDraw.h"
#include "TestKit.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
const uint32_t kInk = 0xFFFF0000u;

int Count(const QImage& img) {
    return CountPixels(img, [](QRgb p) { return p == kInk; });
}
QImage Blank(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}
} // namespace

TEST(LineDraw, ClippingKeepsTheExactPixelsOfTheVisiblePart) {
    // The same segments drawn into a big image and into a window of it must agree there.
    const int ox = 100, oy = 80;
    const int64_t segs[][4] = {{-50, -30, 150, 90},
                               {5, 5, 400, 17},
                               {-90, 40, 60, -70},
                               {30, -500, 31, 600},
                               {-250, -200, 260, 230},
                               // Short ones across an edge: inside the big image they take the
                               // unclipped routine, here the clipped one.
                               {-1, 5, 1, 6},
                               {198, 10, 201, 12},
                               {7, -2, 8, 1}};
    for (const auto& s : segs) {
        QImage big = Blank(400, 360), small = Blank(200, 200);
        CLineCursor a(big), b(small);
        a.MoveTo(s[0] + ox, s[1] + oy);
        a.LineTo(s[2] + ox, s[3] + oy, kInk);
        b.MoveTo(s[0], s[1]);
        b.LineTo(s[2], s[3], kInk);
        EXPECT_EQ(small, big.copy(ox, oy, 200, 200)) << "segment " << s[0] << "," << s[1];
    }
}

TEST(LineDraw, FarAndInvalidEndpointsAreCheapAndSafe) {
    QImage img = Blank(64, 48);
    CLineCursor line(img);
    line.MoveTo(32, 24);
    line.LineTo(INT64_C(4000000000), 24, kInk); // runs to the right edge
    EXPECT_TRUE(img.pixel(63, 24) == kInk && img.pixel(32, 24) == kInk);
    line.LineTo(-INT64_C(4000000000), -INT64_C(3000000000), kInk); // entirely outside
    line.MoveTo(-INT64_C(2147483647), 10);
    line.LineTo(INT64_C(2147483647), 10, kInk); // crosses the whole image
    EXPECT_TRUE(Count(img) == 32 + 64 && img.pixel(0, 10) == kInk);
    line.MoveToNowhere();
    line.LineTo(5, 5, kInk);
    line.LineToNowhere();
    line.LineTo(6, 6, kInk);
    EXPECT_EQ(Count(img), 32 + 64);
    QImage none;
    CLineCursor nothing(none);
    nothing.MoveTo(0, 0);
    nothing.LineTo(5, 5, kInk); // no pixels, no crash
}

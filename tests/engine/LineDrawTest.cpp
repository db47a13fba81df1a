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

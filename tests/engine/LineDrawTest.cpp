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

// Every segment of up to four steps each way, from every pixel of a small image and one beyond
// each edge: the pixels drawn are those of the textbook rule, step k along the longer axis
// (x when both are as long) with the other coordinate at k * d_minor / d_major rounded half
// up, the end left out and only what lies in the image kept.
TEST(LineDraw, ShortSegmentsAreTheTextbookPixels) {
    const int w = 8, h = 6;
    for (int x0 = -1; x0 <= w; ++x0)
        for (int y0 = -1; y0 <= h; ++y0)
            for (int dx = -4; dx <= 4; ++dx)
                for (int dy = -4; dy <= 4; ++dy) {
                    QImage got = Blank(w, h), want = Blank(w, h);
                    CLineCursor line(got);
                    line.MoveTo(x0, y0);
                    line.LineTo(x0 + dx, y0 + dy, kInk);
                    const int adx = std::abs(dx), ady = std::abs(dy), n = std::max(adx, ady);
                    const bool xMajor = adx >= ady;
                    for (int k = 0; k < n; ++k) {
                        const int minor = (2 * k * (xMajor ? ady : adx) + n) / (2 * n);
                        const int x = x0 + (xMajor ? k : minor) * (dx < 0 ? -1 : 1);
                        const int y = y0 + (xMajor ? minor : k) * (dy < 0 ? -1 : 1);
                        if (x >= 0 && x < w && y >= 0 && y < h)
                            want.setPixel(x, y, kInk);
                    }
                    ASSERT_EQ(got, want) << "from " << x0 << "," << y0 << " by " << dx << "," << dy;
                }
}

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

// Every segment of up to eight steps each way, from every pixel of a small image and one beyond
// each edge: the pixels drawn are those of the textbook rule, step k along the longer axis
// (x when both are as long) with the other coordinate at k * d_minor / d_major rounded half
// up, the end left out and only what lies in the image kept.
TEST(LineDraw, ShortSegmentsAreTheTextbookPixels) {
    const int w = 12, h = 10;
    for (int x0 = -1; x0 <= w; ++x0)
        for (int y0 = -1; y0 <= h; ++y0)
            for (int dx = -8; dx <= 8; ++dx)
                for (int dy = -8; dy <= 8; ++dy) {
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

// One cursor over a long walk, as a pass draws: short and long steps, ends outside the image and
// back, and ends that are nowhere (as given to LineTo or by LineToNowhere), each segment in its
// own ink. Where segments share a pixel the later one wins, so the whole picture matches the
// textbook rule only if every segment starts from where the last one truly ended.
TEST(LineDraw, AWalkOfSegmentsIsItsSegmentsInOrder) {
    const int w = 40, h = 30;
    QImage got = Blank(w, h), want = Blank(w, h);
    CLineCursor line(got);
    uint32_t state = 12345;
    auto next = [&](int range) { // a small LCG: the same walk everywhere
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % static_cast<uint32_t>(range));
    };
    int64_t x = 20, y = 15;
    bool valid = true;
    line.MoveTo(x, y);
    for (int i = 0; i < 20000; ++i) {
        const uint32_t ink = 0xFF000000u | (0x10101u * static_cast<uint32_t>(1 + i % 250));
        const int kind = next(100);
        if (kind < 3) { // nowhere, one way or the other
            if (kind == 0)
                line.LineToNowhere();
            else
                line.LineTo(x + next(5) - 2, y + next(5) - 2, ink, true);
            valid = false;
            continue;
        }
        const int reach = kind < 80 ? 3 : kind < 95 ? 8 : 60;
        int64_t nx = x + next(2 * reach + 1) - reach, ny = y + next(2 * reach + 1) - reach;
        if (nx < -20 || nx > w + 20 || ny < -20 || ny > h + 20) // stay near the image
            nx = w / 2, ny = h / 2;
        line.LineTo(nx, ny, ink);
        const int64_t dx = nx - x, dy = ny - y;
        const int64_t adx = std::abs(dx), ady = std::abs(dy), n = std::max(adx, ady);
        const bool xMajor = adx >= ady;
        for (int64_t k = 0; valid && k < n; ++k) {
            const int64_t minor = (2 * k * (xMajor ? ady : adx) + n) / (2 * n);
            const int64_t px = x + (xMajor ? k : minor) * (dx < 0 ? -1 : 1);
            const int64_t py = y + (xMajor ? minor : k) * (dy < 0 ? -1 : 1);
            if (px >= 0 && px < w && py >= 0 && py < h)
                want.setPixel(static_cast<int>(px), static_cast<int>(py), ink);
        }
        x = nx, y = ny, valid = true;
        if (i % 1000 == 999) {
            ASSERT_EQ(got, want) << "after segment " << i;
        }
    }
    EXPECT_EQ(got, want);
}

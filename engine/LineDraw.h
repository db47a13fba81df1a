#pragma once
#include <cstdint>

class QImage;

// Draws one-pixel lines straight into an RGB32 image, the end point left out, clipped to the
// image. Endpoints may lie arbitrarily far outside; a far segment costs no more than the
// image's size.
class CLineCursor {
public:
    explicit CLineCursor(QImage& image);
    void MoveTo(int64_t x, int64_t y) {
        m_x = x;
        m_y = y;
        m_bValid = true;
        m_bFromInside = static_cast<uint64_t>(x) < m_uW && static_cast<uint64_t>(y) < m_uH;
    }
    // A position that cannot be drawn from or to (a coordinate that was not a number).
    void MoveToNowhere() { m_bValid = m_bFromInside = false; }
    // With nowhere, as LineToNowhere: a branch fewer where most ends are somewhere.
    void LineTo(int64_t x, int64_t y, uint32_t pixel, bool nowhere = false) {
        const int64_t x0 = m_x, y0 = m_y;
        const bool from = m_bFromInside;
        const bool inside =
            (static_cast<uint64_t>(x) < m_uW) & (static_cast<uint64_t>(y) < m_uH) & !nowhere;
        const int64_t dx = x - x0, dy = y - y0;
        m_x = x;
        m_y = y;
        m_bFromInside = inside;
        // Most segments of a dense trajectory are a few steps long and inside the image: their
        // pixels come from the table, always kReach stores (the unused ones repeat the first
        // pixel), so their length costs no mispredicted branch.
        if (from & inside & (static_cast<uint64_t>(dx + kReach) <= 2 * kReach) &
            (static_cast<uint64_t>(dy + kReach) <= 2 * kReach)) {
            const int64_t* steps = m_steps[(dy + kReach) * kSide + dx + kReach];
            // A segment of no length draws nothing: its steps are all 0 and it draws into the
            // sink, chosen without a branch (a fifth of the segments of some planes).
            const uintptr_t at = reinterpret_cast<uintptr_t>(m_bits + y0 * m_stride + x0);
            const uintptr_t use = uintptr_t{0} - static_cast<uintptr_t>((dx | dy) != 0);
            uint32_t* const start = reinterpret_cast<uint32_t*>(
                (at & use) | (reinterpret_cast<uintptr_t>(&m_sink) & ~use));
#pragma GCC unroll 8
            for (int k = 0; k < kReach; ++k)
                start[steps[k]] = pixel;
            return;
        }
        const bool valid = m_bValid;
        m_bValid = !nowhere;
        if (valid && !nowhere)
            Clipped(x0, y0, x, y, pixel);
    }
    void LineToNowhere() {
        m_bValid = m_bFromInside = false;
    }

private:
    // Segments of up to kReach steps each way inside the image are drawn from m_steps: for each
    // (dx, dy), the offsets of its Bresenham pixels from the start, then 0 up to kReach. Five
    // steps cover all but a few in a thousand segments of the fast kinds; each more costs a
    // store per segment (measured: 4 and 6 draw Lorenz's four planes a little slower).
    static constexpr int kReach = 5;
    static constexpr int kSide = 2 * kReach + 1;
    // A segment from a valid start that the table does not draw.
    void Clipped(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel);
    // The pixels of a segment by (dx, dy), the end left out, in order, as offsets from its start
    // in a picture of the given stride: step k along the longer axis (x when both are as long),
    // the other coordinate at k * d_minor / d_major rounded half up.
    template <class Fn> static void ForEachStep(int64_t dx, int64_t dy, int64_t stride, Fn&& fn) {
        const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        const bool xMajor = adx >= ady;
        const int64_t n = xMajor ? adx : ady, twoMin = 2 * (xMajor ? ady : adx);
        const int64_t xStep = dx > 0 ? 1 : -1, yStep = dy > 0 ? stride : -stride;
        const int64_t majStep = xMajor ? xStep : yStep, minStep = xMajor ? yStep : xStep;
        for (int64_t k = 0, r = n, at = 0; k < n; ++k, at += majStep) {
            fn(at);
            r += twoMin;
            if (r >= 2 * n) {
                r -= 2 * n;
                at += minStep;
            }
        }
    }
    // A segment with both ends inside the image.
    void Inside(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
        uint32_t* const start = m_bits + y0 * m_stride + x0;
        ForEachStep(x1 - x0, y1 - y0, m_stride, [&](int64_t at) { start[at] = pixel; });
    }
    void Bresenham(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel, bool clip);
    uint32_t* m_bits;
    int64_t m_stride; // in pixels
    int64_t m_w, m_h;
    uint64_t m_uW, m_uH; // 0 without pixels
    int64_t m_x = 0, m_y = 0;
    bool m_bValid = true;
    bool m_bFromInside = false; // valid, and inside the image
    uint32_t m_sink = 0;        // where a segment of no length draws
    int64_t m_steps[kSide * kSide][kReach];
};

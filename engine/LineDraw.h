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
    }
    // A position that cannot be drawn from or to (a coordinate that was not a number).
    void MoveToNowhere() { m_bValid = false; }
    void LineTo(int64_t x, int64_t y, uint32_t pixel) {
        const int64_t x0 = m_x, y0 = m_y;
        const bool valid = m_bValid;
        m_x = x;
        m_y = y;
        m_bValid = true;
        // Most segments of a dense trajectory are at most two steps long. Of a step, only its
        // start is drawn (the end is left out); of two steps, the start and the pixel one step
        // towards the end along each axis that moves (where Bresenham's second pixel lies,
        // whichever axis is the major one). Each pixel is drawn when it lies in the image, as
        // the clipped routine would. This much stays small enough to be inlined into every
        // pass; longer segments take a call.
        const int64_t dx = x - x0, dy = y - y0;
        if (static_cast<uint64_t>(dx + 2) <= 4 && static_cast<uint64_t>(dy + 2) <= 4) {
            if (!valid || (dx == 0 && dy == 0))
                return;
            if (static_cast<uint64_t>(x0) < m_uW && static_cast<uint64_t>(y0) < m_uH)
                m_bits[y0 * m_stride + x0] = pixel;
            if (dx == 2 || dx == -2 || dy == 2 || dy == -2) {
                const int64_t x1 = x0 + (dx > 0) - (dx < 0), y1 = y0 + (dy > 0) - (dy < 0);
                if (static_cast<uint64_t>(x1) < m_uW && static_cast<uint64_t>(y1) < m_uH)
                    m_bits[y1 * m_stride + x1] = pixel;
            }
            return;
        }
        if (valid)
            Longer(x0, y0, x, y, pixel);
    }
    void LineToNowhere() { m_bValid = false; }

private:
    // A segment of two steps or more: unclipped when both ends are inside, else clipped.
    void Longer(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel);
    // The same steps as Bresenham, for a segment with both ends inside the image.
    void Inside(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
        const int64_t dx = x1 - x0, dy = y1 - y0;
        const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
        const bool xMajor = adx >= ady;
        const int64_t n = xMajor ? adx : ady, twoMin = 2 * (xMajor ? ady : adx);
        const int64_t xStep = dx > 0 ? 1 : -1, yStep = dy > 0 ? m_stride : -m_stride;
        const int64_t majStep = xMajor ? xStep : yStep, minStep = xMajor ? yStep : xStep;
        uint32_t* p = m_bits + y0 * m_stride + x0;
        for (int64_t k = 0, r = n; k < n; ++k, p += majStep) {
            *p = pixel;
            r += twoMin;
            if (r >= 2 * n) {
                r -= 2 * n;
                p += minStep;
            }
        }
    }
    void Bresenham(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel, bool clip);
    uint32_t* m_bits;
    int64_t m_stride; // in pixels
    int64_t m_w, m_h;
    uint64_t m_uW, m_uH; // 0 without pixels
    int64_t m_x = 0, m_y = 0;
    bool m_bValid = true;
};

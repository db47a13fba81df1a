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
    void LineTo(int64_t x, int64_t y, uint32_t pixel);
    void LineToNowhere() { m_bValid = false; }

private:
    void Bresenham(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel, bool clip);
    uint32_t* m_bits;
    int64_t m_stride; // in pixels
    int64_t m_w, m_h;
    int64_t m_x = 0, m_y = 0;
    bool m_bValid = true;
};

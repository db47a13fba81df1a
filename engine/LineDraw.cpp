#include "engine/LineDraw.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>

CLineCursor::CLineCursor(QImage& image)
    : m_bits(image.isNull() ? nullptr : reinterpret_cast<uint32_t*>(image.bits())),
      m_stride(image.isNull() ? 0 : image.bytesPerLine() / 4), m_w(image.width()),
      m_h(image.height()), m_uW(m_bits ? static_cast<uint64_t>(m_w) : 0),
      m_uH(m_bits ? static_cast<uint64_t>(m_h) : 0), m_bFromInside(m_uW > 0 && m_uH > 0) {
    // The pixels Inside would draw, then 0.
    for (int dy = -kReach; dy <= kReach; ++dy)
        for (int dx = -kReach; dx <= kReach; ++dx) {
            int64_t* steps = m_steps[(dy + kReach) * kSide + dx + kReach];
            std::fill(steps, steps + kReach, 0);
            ForEachStep(dx, dy, m_stride, [&](int64_t at) { *steps++ = at; });
        }
}

void CLineCursor::Clipped(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel) {
    // Segments beyond the table's reach are mostly inside the image: no clipping.
    if (static_cast<uint64_t>(x0) < m_uW && static_cast<uint64_t>(x1) < m_uW &&
        static_cast<uint64_t>(y0) < m_uH && static_cast<uint64_t>(y1) < m_uH)
        Inside(x0, y0, x1, y1, pixel);
    else if (m_bits && m_w > 0 && m_h > 0)
        Bresenham(x0, y0, x1, y1, pixel, true);
}

// Major-axis Bresenham: step k along the longer axis puts the other coordinate at
// round-half-up(k * dMinor / dMajor). That closed form lets a clipped segment start at its
// first visible step with exactly the pixels the whole segment would have, so a far endpoint
// costs no more than the image's size.
void CLineCursor::Bresenham(int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint32_t pixel, bool) {
    const int64_t dx = std::llabs(x1 - x0), dy = std::llabs(y1 - y0);
    const int64_t n = std::max(dx, dy);
    if (n == 0)
        return;
    const bool xMajor = dx >= dy;
    const int64_t maj0 = xMajor ? x0 : y0, min0 = xMajor ? y0 : x0;
    const int64_t majStep = (xMajor ? x1 > x0 : y1 > y0) ? 1 : -1;
    const int64_t minStep = (xMajor ? y1 > y0 : x1 > x0) ? 1 : -1;
    const int64_t dMin = xMajor ? dy : dx;
    const int64_t majLimit = xMajor ? m_w : m_h, minLimit = xMajor ? m_h : m_w;
    // Steps whose major coordinate lies inside the image.
    int64_t kLo, kHi;
    if (majStep > 0) {
        kLo = std::max<int64_t>(0, -maj0);
        kHi = std::min<int64_t>(n, majLimit - maj0);
    } else {
        kLo = std::max<int64_t>(0, maj0 - (majLimit - 1));
        kHi = std::min<int64_t>(n, maj0 + 1);
    }
    if (kLo >= kHi)
        return;
    // Step kLo's minor offset and error; the wide division only for a clipped start.
    int64_t t = 0, r = n;
    if (kLo > 0) {
        const __int128 twoMaj = 2 * static_cast<__int128>(n);
        const __int128 q = 2 * static_cast<__int128>(kLo) * dMin + n;
        t = static_cast<int64_t>(q / twoMaj);
        r = static_cast<int64_t>(q % twoMaj);
    }
    const int64_t twoMin = 2 * dMin, twoMaj64 = 2 * n;
    int64_t maj = maj0 + majStep * kLo;
    bool seen = false;
    for (int64_t k = kLo; k < kHi; ++k, maj += majStep) {
        const int64_t mn = min0 + minStep * t;
        if (mn >= 0 && mn < minLimit) {
            seen = true;
            if (xMajor)
                m_bits[mn * m_stride + maj] = pixel;
            else
                m_bits[maj * m_stride + mn] = pixel;
        } else if (seen) {
            return; // the minor coordinate only moves away from here on
        }
        r += twoMin;
        if (r >= twoMaj64) {
            r -= twoMaj64;
            ++t;
        }
    }
}

#pragma once
#include <climits>

// Dialog units to pixels for the 8-point dialog font at 96 dpi: a character cell of 6 x 13
// pixels spans 4 x 8 dialog units. Halves round up; results are clamped so no input overflows.
constexpr int DluToPixelScaled(int dlu, long long num, long long den) {
    // floor(dlu * num / den + 1/2) = floor((2 * dlu * num + den) / (2 * den))
    const long long n = 2 * static_cast<long long>(dlu) * num + den;
    const long long d = 2 * den;
    long long q = n / d;
    if (n % d != 0 && n < 0)
        --q; // division truncates toward zero; we need the floor
    if (q > INT_MAX)
        return INT_MAX;
    if (q < INT_MIN)
        return INT_MIN;
    return static_cast<int>(q);
}

constexpr int DluToPixelX(int dlu) {
    return DluToPixelScaled(dlu, 6, 4);
}
constexpr int DluToPixelY(int dlu) {
    return DluToPixelScaled(dlu, 13, 8);
}

#pragma once
#include "platform/Colors.h"
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>

// Helpers shared by the label tests.
namespace controls_test {

inline QFont ArialFont(int nPixelSize = 13) {
    QFont font("Arial");
    font.setPixelSize(nPixelSize);
    return font;
}

inline QImage Grab(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline COLORREF At(const QImage& img, int x, int y) {
    return ColorRefFromPixel(img.pixel(x, y));
}

// Number of pixels inside [x0, x1) x [y0, y1) for which pred holds.
template <class Pred> int Count(const QImage& img, int x0, int y0, int x1, int y1, Pred pred) {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
            if (pred(ColorRefFromPixel(img.pixel(x, y))))
                ++n;
    return n;
}

inline bool IsReddish(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 120 && GetBValue(c) < 120;
}
inline bool IsDark(COLORREF c) {
    return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
}

// Writes a BMP file of the image; false if it could not be written.
inline bool WriteBmp(const QImage& img, const QString& path) {
    return img.save(path, "BMP");
}

} // namespace controls_test

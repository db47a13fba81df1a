#pragma once
#include "platform/Colors.h"
#include "tests/support/TempDir.h"
#include <QFont>
#include <QImage>
#include <QWidget>
#include <climits>

// Helpers shared by the control tests.
namespace controls_test {

// The program's own font, never whatever the machine happens to default to.
inline QFont ProgramFont(int nPixelSize = 13) {
    QFont font("Liberation Sans");
    font.setPixelSize(nPixelSize);
    return font;
}
inline QImage Grab(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
inline COLORREF At(const QImage& img, int x, int y) {
    return ColorRefFromPixel(img.pixel(x, y));
}
// Number of pixels inside [x0, x1) x [y0, y1) (the whole image by default) for which pred holds.
template <class Pred>
int Count(const QImage& img, Pred pred, int x0 = 0, int y0 = 0, int x1 = INT_MAX,
          int y1 = INT_MAX) {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(img.height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width(), x1); ++x)
            n += pred(ColorRefFromPixel(img.pixel(x, y)));
    return n;
}
inline bool IsReddish(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 120 && GetBValue(c) < 120;
}
inline auto Is(COLORREF cr) {
    return [cr](COLORREF c) { return c == cr; };
}
inline auto IsNot(COLORREF cr) {
    return [cr](COLORREF c) { return c != cr; };
}
// 3 x 3, blue but for the last column and row, which are red; saved in dir under name.
inline QString SavePattern(const TempDir& dir, const std::string& name, const char* format) {
    QImage img(3, 3, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    for (int i = 0; i < 3; ++i) {
        img.setPixelColor(2, i, Qt::red);
        img.setPixelColor(i, 2, Qt::red);
    }
    const QString path = QString::fromStdString(dir.File(name));
    return img.save(path, format) ? path : QString();
}
} // namespace controls_test

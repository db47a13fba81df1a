#include "controls/DialogLayout.h"

#include "res/DialogUnits.h"

#include <QApplication>
#include <QFontMetricsF>

QRect DialogItemRect(const DialogItem& item) {
    const int x = DluToPixelX(item.x), y = DluToPixelY(item.y);
    return QRect(x, y, DluToPixelX(item.x + item.cx) - x, DluToPixelY(item.y + item.cy) - y);
}

QFont DialogFont() {
    static const int size = [] {
        QFont font(QApplication::font());
        const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        for (int px = 13; px > 1; --px) {
            font.setPixelSize(px);
            if (QFontMetricsF(font).horizontalAdvance(letters) <= DluToPixelX(4) * 52.0)
                return px;
        }
        return 1;
    }();
    QFont font(QApplication::font());
    font.setPixelSize(size);
    return font;
}

#include "controls/DialogLayout.h"

#include "res/DialogUnits.h"

#include <QApplication>

QRect DialogItemRect(const DialogItem& item) {
    const int x = DluToPixelX(item.x), y = DluToPixelY(item.y);
    return QRect(x, y, DluToPixelX(item.x + item.cx) - x, DluToPixelY(item.y + item.cy) - y);
}

QFont DialogFont(int nPointSize) {
    QFont font(QApplication::font());
    font.setPixelSize((nPointSize * 96 + 36) / 72);
    return font;
}

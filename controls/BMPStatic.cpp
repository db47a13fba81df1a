#include "controls/BMPStatic.h"
#include <QPainter>

CBMPStatic::CBMPStatic(QWidget* parent) : QWidget(parent) {}

bool CBMPStatic::LoadBitmapFile(const QString& strPath) {
    m_bitmap = QImage();
    const bool bLoaded = m_bitmap.load(strPath, "BMP");
    if (bLoaded)
        resize(m_bitmap.size());
    update();
    return bLoaded;
}

void CBMPStatic::paintEvent(QPaintEvent*) {
    if (m_bitmap.isNull())
        return;
    // Only a load fits the widget to the bitmap; painting stretches it over whatever size
    // the widget has since been given.
    QPainter painter(this);
    painter.drawImage(rect(), m_bitmap);
}

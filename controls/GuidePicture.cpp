#include "controls/GuidePicture.h"
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QPainter>

CGuidePicture::CGuidePicture(QWidget* parent) : QWidget(parent) {}

bool CGuidePicture::LoadPicture() {
    return LoadPictureFrom(QString::fromLatin1(kGuidePictureResource));
}

bool CGuidePicture::LoadPictureFrom(const QString& strPath) {
    FreePicture();
    if (!QFile::exists(strPath))
        return false;
    // The resource is typed PNG: nothing else is decoded from it.
    QImageReader reader(strPath, "png");
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    if (picture.isNull())
        return false;
    picture.setColorSpace(QColorSpace()); // drawn as stored, without colour management
    m_picture = picture;
    update();
    return true;
}

void CGuidePicture::FreePicture() {
    if (m_picture.isNull())
        return;
    m_picture = QImage();
    update();
}

void CGuidePicture::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}

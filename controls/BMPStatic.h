#pragma once
#include <QImage>
#include <QWidget>

// A label that shows a bitmap file stretched over itself and takes the bitmap's size when the
// file is loaded.
class CBMPStatic : public QWidget {
    Q_OBJECT
public:
    explicit CBMPStatic(QWidget* parent = nullptr);

    // Loads a BMP file; on failure the label has no bitmap (and paints nothing).
    bool LoadBitmapFile(const QString& strPath);

    bool HasBitmap() const { return !m_bitmap.isNull(); }
    const QImage& Bitmap() const { return m_bitmap; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_bitmap;
};

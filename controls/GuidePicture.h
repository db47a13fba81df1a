#pragma once
#include <QImage>
#include <QWidget>

// Where the guide picture lives in the resource system.
inline constexpr char kGuidePictureResource[] = ":/IDB_GUIDE";

// The guide's picture control: the PNG stretched over the whole control, aspect ratio not
// kept. Without a picture it draws nothing.
class CGuidePicture : public QWidget {
    Q_OBJECT
public:
    explicit CGuidePicture(QWidget* parent = nullptr);

    // Decodes "IDB_GUIDE"; false (and no picture) if it is missing or not a PNG.
    bool LoadPicture();
    bool LoadPictureFrom(const QString& strPath);
    void FreePicture();

    bool HasPicture() const { return !m_picture.isNull(); }
    const QImage& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

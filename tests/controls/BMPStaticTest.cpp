#include "controls/BMPStatic.h"
#include "ControlsTestUtil.h"
#include "tests/support/TempDir.h"
#include <gtest/gtest.h>

using namespace controls_test;

namespace {

QImage Stripes() {
    // Seven columns alternating red and blue, the last one green.
    QImage img(7, 5, QImage::Format_RGB32);
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 5; ++y)
            img.setPixelColor(x, y, x == 6 ? Qt::green : (x % 2 ? Qt::blue : Qt::red));
    return img;
}

TEST(BMPStatic, FitsItselfToTheBitmapOnLoadOnly) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.File("marker.bmp"));
    ASSERT_TRUE(WriteBmp(Stripes(), path));

    QWidget parent;
    auto* marker = new CBMPStatic(&parent);
    marker->setGeometry(10, 10, 5, 5);
    ASSERT_TRUE(marker->LoadBitmapFile(path));
    EXPECT_EQ(marker->size(), QSize(7, 5));
    EXPECT_EQ(marker->pos(), QPoint(10, 10));
    EXPECT_EQ(Grab(*marker), Stripes());

    // Painting stretches the bitmap over a later size and does not fit again.
    marker->resize(14, 10);
    const QImage big = Grab(*marker);
    EXPECT_EQ(marker->size(), QSize(14, 10));
    EXPECT_EQ(At(big, 13, 9), RGB(0, 255, 0));
    EXPECT_EQ(At(big, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(At(big, 3, 5), RGB(0, 0, 255));
}

TEST(BMPStatic, FailedLoadLeavesNothingToPaint) {
    TempDir dir;
    const QString path = QString::fromStdString(dir.File("marker.bmp"));
    const QString notBmp = QString::fromStdString(dir.File("fake.bmp"));
    ASSERT_TRUE(WriteBmp(Stripes(), path));
    ASSERT_TRUE(Stripes().save(notBmp, "PNG"));
    TempDir::Write(dir.File("broken.bmp"), "BM not really");

    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(0, 200, 255));
    parent.setPalette(pal);
    auto* marker = new CBMPStatic(&parent);
    ASSERT_TRUE(marker->LoadBitmapFile(path));

    for (const std::string name : {"missing.bmp", "fake.bmp", "broken.bmp"}) {
        EXPECT_FALSE(marker->LoadBitmapFile(QString::fromStdString(dir.File(name)))) << name;
        EXPECT_FALSE(marker->HasBitmap());
        const QImage img = Grab(*marker);
        EXPECT_EQ(Count(img, 0, 0, img.width(), img.height(),
                        [](COLORREF c) { return c != RGB(0, 200, 255); }),
                  0);
        ASSERT_TRUE(marker->LoadBitmapFile(path));
    }
}

} // namespace

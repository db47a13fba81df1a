#include "engine/BmpWriter.h"
#include "../support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {
uint32_t U32(const std::string& b, std::size_t at) {
    return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
           uint32_t(uint8_t(b[at + 3])) << 24;
}
} // namespace

TEST(BmpWriter, HeaderPaddingBottomUpRowsAndColourOrder) {
    QImage img(789, 3, QImage::Format_RGB32);
    img.fill(Qt::black);
    img.setPixel(0, 0, qRgb(10, 20, 30));    // top-left
    img.setPixel(788, 2, qRgb(200, 100, 50)); // bottom-right
    TempDir dir;
    std::string f = dir.File("g.bmp");
    ASSERT_TRUE(WriteBmpFile(img, f));
    std::string b = TempDir::Read(f);
    ASSERT_EQ(b.size(), 54u + 2368u * 3u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(U32(b, 2), b.size());
    EXPECT_EQ(U32(b, 6), 0u);
    EXPECT_EQ(U32(b, 10), 54u);
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), 789u);
    EXPECT_EQ(U32(b, 22), 3u);
    EXPECT_EQ(U32(b, 26), 1u | 24u << 16);
    EXPECT_EQ(U32(b, 30), 0u);
    EXPECT_EQ(U32(b, 34), 2368u * 3u);
    for (std::size_t at : {38u, 42u, 46u, 50u})
        EXPECT_EQ(U32(b, at), 0u);
    // Row 0 of the file is the bottom row: its last pixel, blue first.
    const std::size_t bottomRight = 54 + 788 * 3;
    EXPECT_EQ(uint8_t(b[bottomRight]), 50);
    EXPECT_EQ(uint8_t(b[bottomRight + 1]), 100);
    EXPECT_EQ(uint8_t(b[bottomRight + 2]), 200);
    EXPECT_EQ(uint8_t(b[54 + 2367]), 0); // the padding byte
    const std::size_t topLeft = 54 + 2 * 2368;
    EXPECT_EQ(uint8_t(b[topLeft]), 30);
    EXPECT_EQ(uint8_t(b[topLeft + 2]), 10);
    EXPECT_EQ(BmpStride(4), 12u);
    EXPECT_EQ(BmpStride(1), 4u);

    EXPECT_FALSE(WriteBmpFile(img, dir.File("missing/g.bmp")));
    EXPECT_FALSE(WriteBmpFile(QImage(), dir.File("null.bmp")));
}

TEST(BmpWriter, ExtensionDecidesTheWriterWithoutRegardToCase) {
    EXPECT_TRUE(IsBmpExtension("/x/graph.bmp"));
    EXPECT_TRUE(IsBmpExtension("/x/graph.BMP"));
    EXPECT_TRUE(IsBmpExtension("graph.Bmp"));
    EXPECT_FALSE(IsBmpExtension("/x/graph.png"));
    EXPECT_FALSE(IsBmpExtension("/x/graph"));
    EXPECT_FALSE(IsBmpExtension("/x.bmp/graph"));
    EXPECT_FALSE(IsBmpExtension("/x/graph.bmp.png"));
}

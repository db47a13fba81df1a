#include "engine/BmpWriter.h"
#include "../support/TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(BmpWriter, HeaderPaddingBottomUpRowsAndColourOrder) {
    QImage img(789, 3, QImage::Format_RGB32);
    img.fill(Qt::black);
    img.setPixel(0, 0, qRgb(10, 20, 30));     // top-left
    img.setPixel(788, 2, qRgb(200, 100, 50)); // bottom-right
    TempDir dir;
    ASSERT_TRUE(WriteImageFile(img, dir.File("g.bmp")));
    const std::string b = TempDir::Read(dir.File("g.bmp"));
    ASSERT_EQ(b.size(), 54u + 2368u * 3u);
    EXPECT_EQ(b.substr(0, 2), "BM");
    auto u32 = [&](std::size_t at) {
        return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8 | uint8_t(b[at + 2]) << 16 |
               uint32_t(uint8_t(b[at + 3])) << 24;
    };
    // Offset and value of every header field after the signature.
    const uint32_t fields[] = {
        2,  54 + 2368 * 3, 6,  0, 10, 54, 14, 40, 18, 789, 22, 3, 26, 1u | 24u << 16, 30, 0,
        34, 2368 * 3,      38, 0, 42, 0,  46, 0,  50, 0};
    for (std::size_t i = 0; i < std::size(fields); i += 2)
        EXPECT_EQ(u32(fields[i]), fields[i + 1]) << "offset " << fields[i];
    // Row 0 of the file is the bottom row: its last pixel, blue first, then one padding byte.
    EXPECT_EQ(b.substr(54 + 788 * 3, 4), std::string("\x32\x64\xC8\x00", 4));
    EXPECT_EQ(b.substr(54 + 2 * 2368, 3), std::string("\x1E\x14\x0A", 3)); // top-left
    EXPECT_EQ(BmpStride(4), 12u);
    EXPECT_EQ(BmpStride(1), 4u);
    EXPECT_FALSE(WriteImageFile(img, dir.File("missing/g.bmp")));
    EXPECT_FALSE(WriteImageFile(QImage(), dir.File("null.bmp")));
}

TEST(BmpWriter, ExtensionDecidesTheWriterWithoutRegardToCase) {
    for (const char* yes : {"/x/graph.bmp", "/x/graph.BMP", "graph.Bmp"})
        EXPECT_TRUE(IsBmpExtension(yes)) << yes;
    for (const char* no : {"/x/graph.png", "/x/graph", "/x.bmp/graph", "/x/graph.bmp.png"})
        EXPECT_FALSE(IsBmpExtension(no)) << no;
}

#pragma once
#include <cstdint>
#include <string>
#include <vector>

class QImage;

// An uncompressed 24-bit bottom-up Windows bitmap: 14-byte file header, 40-byte information
// header, rows of blue-green-red padded to four bytes.
std::vector<uint8_t> EncodeBmp(const QImage& image);
uint32_t BmpStride(int width);
// Writes the file; false when it cannot be created or written completely.
bool WriteBmpFile(const QImage& image, const std::string& path);
// PNG through Qt's encoder; false on failure.
bool WritePngFile(const QImage& image, const std::string& path);
// "bmp" in any case gets a bitmap; every other extension, or none, PNG.
bool IsBmpExtension(const std::string& path);

#pragma once
#include <cstdint>
#include <string>
#include <vector>

class QImage;

// An uncompressed 24-bit bottom-up Windows bitmap: 14-byte file header, 40-byte information
// header, rows of blue-green-red padded to four bytes.
std::vector<uint8_t> EncodeBmp(const QImage& image);
uint32_t BmpStride(int width);
// "bmp" in any case gets a bitmap; every other extension, or none, PNG.
bool IsBmpExtension(const std::string& path);
// The picture as the bytes of a file of that name: a bitmap or PNG (through Qt's encoder) by
// IsBmpExtension. Empty for a null picture or when the encoder fails.
std::string EncodeImageFile(const QImage& image, const std::string& path);
// The picture written through the atomic writer; false with the reason in *error.
bool WriteImageFile(const QImage& image, const std::string& path, std::string* error = nullptr);

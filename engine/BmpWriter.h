#pragma once
#include <cstdint>
#include <string>
#include <vector>

class QImage;
namespace platform {
class CAtomicFile;
}

// An uncompressed 24-bit bottom-up Windows bitmap: 14-byte file header, 40-byte information
// header, rows of blue-green-red padded to four bytes.
std::vector<uint8_t> EncodeBmp(const QImage& image);
uint32_t BmpStride(int width);
// "bmp" in any case gets a bitmap; every other extension, or none, PNG.
bool IsBmpExtension(const std::string& path);
// The picture into the file, not yet committed, as a bitmap or PNG (through Qt's encoder) by
// IsBmpExtension of its name; a bitmap goes a row at a time. False for a null picture, when
// the encoder fails or a write fails (file.Error() then says why).
bool WriteImageTo(const QImage& image, const std::string& path, platform::CAtomicFile& file);
// The picture written through the atomic writer; false with the reason in *error.
bool WriteImageFile(const QImage& image, const std::string& path, std::string* error = nullptr);

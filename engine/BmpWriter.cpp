#include "engine/BmpWriter.h"

#include "platform/AtomicFile.h"

#include <QBuffer>
#include <QImage>
#include <strings.h>

uint32_t BmpStride(int width) {
    return static_cast<uint32_t>(((static_cast<uint64_t>(width) * 24 + 31) / 8) & ~3ull);
}

namespace {

// The bitmap's bytes in file order through put(data, size), a row at a time, so that a large
// picture is never held twice.
template <class Put> bool PutBmp(const QImage& source, Put put) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const uint32_t stride = BmpStride(w);
    const uint32_t imageSize = stride * static_cast<uint32_t>(h);
    uint8_t header[54] = {};
    auto put16 = [&](std::size_t at, uint32_t v) {
        header[at] = v & 0xFF;
        header[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = (v >> (8 * i)) & 0xFF;
    };
    put16(0, 0x4D42);
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    if (!put(header, sizeof header))
        return false;
    std::vector<uint8_t> row(stride, 0);
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(h - 1 - y));
        for (int x = 0; x < w; ++x) {
            row[3 * x] = qBlue(src[x]);
            row[3 * x + 1] = qGreen(src[x]);
            row[3 * x + 2] = qRed(src[x]);
        }
        if (!put(row.data(), row.size()))
            return false;
    }
    return true;
}

} // namespace

std::vector<uint8_t> EncodeBmp(const QImage& source) {
    std::vector<uint8_t> out;
    PutBmp(source, [&](const uint8_t* data, std::size_t size) {
        out.insert(out.end(), data, data + size);
        return true;
    });
    return out;
}

bool IsBmpExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    return strcasecmp(path.c_str() + dot + 1, "bmp") == 0;
}

bool WriteImageTo(const QImage& image, const std::string& path, platform::CAtomicFile& file) {
    if (image.isNull())
        return false;
    if (IsBmpExtension(path))
        return PutBmp(
            image, [&](const uint8_t* data, std::size_t size) { return file.Write(data, size); });
    QByteArray bytes;
    QBuffer buffer(&bytes);
    return buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG") &&
           file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool WriteImageFile(const QImage& image, const std::string& path, std::string* error) {
    platform::CAtomicFile file(path);
    if (WriteImageTo(image, path, file) && file.Commit())
        return true;
    if (error)
        *error = file.Error().empty() ? path + ": the picture could not be encoded" : file.Error();
    return false;
}

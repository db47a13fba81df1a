#include "engine/BmpWriter.h"

#include "platform/AtomicFile.h"

#include <QBuffer>
#include <QImage>
#include <strings.h>

uint32_t BmpStride(int width) {
    return static_cast<uint32_t>(((static_cast<uint64_t>(width) * 24 + 31) / 8) & ~3ull);
}

std::vector<uint8_t> EncodeBmp(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const uint32_t stride = BmpStride(w);
    const uint32_t imageSize = stride * static_cast<uint32_t>(h);
    std::vector<uint8_t> out(54 + static_cast<std::size_t>(imageSize), 0);
    auto put16 = [&](std::size_t at, uint32_t v) {
        out[at] = v & 0xFF;
        out[at + 1] = (v >> 8) & 0xFF;
    };
    auto put32 = [&](std::size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = (v >> (8 * i)) & 0xFF;
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
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(h - 1 - y));
        uint8_t* dst = out.data() + 54 + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = qBlue(src[x]);
            dst[3 * x + 1] = qGreen(src[x]);
            dst[3 * x + 2] = qRed(src[x]);
        }
    }
    return out;
}

bool IsBmpExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return false;
    return strcasecmp(path.c_str() + dot + 1, "bmp") == 0;
}

std::string EncodeImageFile(const QImage& image, const std::string& path) {
    if (image.isNull())
        return {};
    if (IsBmpExtension(path)) {
        const std::vector<uint8_t> bytes = EncodeBmp(image);
        return std::string(bytes.begin(), bytes.end());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return bytes.toStdString();
}

bool WriteImageFile(const QImage& image, const std::string& path, std::string* error) {
    const std::string bytes = EncodeImageFile(image, path);
    if (bytes.empty()) {
        if (error)
            *error = path + ": the picture could not be encoded";
        return false;
    }
    return platform::WriteFileAtomically(path, bytes, error);
}

#include "app/PlotPicture.h"

#include "platform/AtomicFile.h"
#include "platform/Memory.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <qcustomplot.h>
#include <strings.h>

namespace {

bool IsPdf(const std::string& path) {
    return path.size() >= 4 && strcasecmp(path.c_str() + path.size() - 4, ".pdf") == 0;
}

// A vector page of exactly the plot's size, as QCustomPlot's own PDF export lays it out.
bool DrawPdf(QCustomPlot& plot, QIODevice* device, int width, int height) {
    QPdfWriter writer(device);
    writer.setResolution(72); // a pixel of the plot is a point of the page
    writer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QCPPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    // The colour maps' cells, exactly: Qt would put images in as JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.setWindow(0, 0, width, height);
    plot.toPainter(&painter, width, height);
    return painter.end();
}

} // namespace

bool SavePlotPicture(QCustomPlot& plot, const std::string& path, int width, int height,
                     std::string* error) {
    if (width <= 0 || height <= 0) {
        width = plot.width();
        height = plot.height();
    }
    // A bitmap is drawn once, four bytes a pixel; a PDF holds vectors and small images.
    const std::string refused =
        IsPdf(path) ? std::string()
                    : platform::MemoryRefusal(4ull * width * height,
                                              "a " + std::to_string(width) + "x" +
                                                  std::to_string(height) + " picture");
    if (!refused.empty()) {
        if (error)
            *error = path + ": " + refused;
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    bool ok = buffer.open(QIODevice::WriteOnly);
    if (ok && IsPdf(path)) {
        ok = DrawPdf(plot, &buffer, width, height);
    } else if (ok) {
        QImage image = plot.toPixmap(width, height).toImage();
        const int dotsPerMeter = static_cast<int>(96 / 0.0254); // 96 dpi, as QCustomPlot writes
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        ok = !image.isNull() && image.save(&buffer, "PNG");
    }
    if (!ok || bytes.isEmpty()) {
        if (error)
            *error = path + ": the picture could not be drawn";
        return false;
    }
    return platform::WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()),
                                         error);
}

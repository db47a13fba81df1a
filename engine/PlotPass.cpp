#include "engine/LineDraw.h"
#include "engine/PlotSurface.h"
#include "engine/RunGate.h"
#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"
#include "platform/ModulePath.h"

#include <QImage>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <thread>

namespace {
std::mutex g_traceMutex;
std::string g_tracePath;

// One plane's share of a pass: its picture, pen position, previous offsets and colour.
struct Lane {
    int plane;
    CLineCursor cursor;
    double oldCol, oldRow;
    int32_t colorIndex;
    COLORREF color;
    uint32_t pixel;
};
} // namespace

void CTrajectoryPlotter::SetTracePath(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_traceMutex);
    g_tracePath = path;
}

void CTrajectoryPlotter::TraceLog(const char* format, ...) {
    char buffer[256];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buffer, sizeof buffer, format, ap);
    va_end(ap);
    std::lock_guard<std::mutex> lock(g_traceMutex);
    const std::string path =
        g_tracePath.empty() ? platform::MapWindowsPath("c:\\temp\\debug.txt") : g_tracePath;
    if (FILE* f = std::fopen(path.c_str(), "a")) {
        std::fputs(buffer, f);
        std::fputc('\n', f);
        std::fclose(f);
    }
}

void CTrajectoryPlotter::DrawTrajectory(int plane, QImage& image, int preRender, int) {
    QImage* images[1] = {&image};
    DrawPlanes(&plane, images, 1, preRender);
}

void CTrajectoryPlotter::DrawPlanes(const int* planes, QImage* const* images, int count,
                                    int preRender) {
    if (!m_pAttractor || count <= 0 || count > 4)
        return;
    CPlotHost* window = m_pSurface ? m_pSurface->GetWindowDC() : nullptr;
    const int64_t halfW = m_pSurface ? m_pSurface->Width() / 2 : images[0]->width() / 2;
    const int64_t halfH = m_pSurface ? m_pSurface->Height() / 2 : images[0]->height() / 2;
    const bool animation = !preRender;

    Lane lanes[4] = {{0, CLineCursor(*images[0]), 0, 0, -1, kStartColor, 0},
                     {0, CLineCursor(*images[std::min(1, count - 1)]), 0, 0, -1, kStartColor, 0},
                     {0, CLineCursor(*images[std::min(2, count - 1)]), 0, 0, -1, kStartColor, 0},
                     {0, CLineCursor(*images[std::min(3, count - 1)]), 0, 0, -1, kStartColor, 0}};
    for (int k = 0; k < count; ++k) {
        Lane& lane = lanes[k];
        lane.plane = planes[k];
        lane.pixel = PixelFromColorRef(kStartColor);
        m_nColorIndex = -1;
        BeginPass(lane.plane);
        TraceLog("*** Zoom %.2f Plane %d", m_zoom, lane.plane);
        TraceLog("oldCol %.2f, oldRow %.2f", m_oldCol, m_oldRow);
        lane.oldCol = m_oldCol;
        lane.oldRow = m_oldRow;
        if (m_oldCol == kNoPixel || m_oldRow == kNoPixel)
            lane.cursor.MoveToNowhere();
        else
            lane.cursor.MoveTo(halfW + static_cast<int64_t>(m_oldCol),
                               halfH - static_cast<int64_t>(m_oldRow));
    }

    const bool colorChanges = ColorChangesEnabled();
    bool stopped = false;
    for (int32_t i = 0; i < m_nIterations && !stopped; ++i) {
        Advance();
        for (int k = 0; k < count; ++k) {
            Lane& lane = lanes[k];
            const int32_t column = Column(lane.plane, m_x, m_y, m_z);
            const int32_t row = Row(lane.plane, m_x, m_y, m_z);
            if (colorChanges && ((column < 0 && lane.oldCol >= 0) ||
                                 (column > 0 && lane.oldCol <= 0))) {
                if (++lane.colorIndex == 13)
                    lane.colorIndex = 0;
                lane.color = m_colors[lane.colorIndex];
                lane.pixel = PixelFromColorRef(lane.color);
            }
            if (column == kNoPixel || row == kNoPixel)
                lane.cursor.LineToNowhere();
            else
                lane.cursor.LineTo(halfW + column, halfH - row, lane.pixel);
            lane.oldRow = row;
            lane.oldCol = column;
        }
        if (i % 10 != 9)
            continue;
        for (int k = 0; k < count && window; ++k) {
            if (preRender)
                window->SendPlotMessage(WM_PLOT_PROGRESS);
            else
                window->PostPlotMessage(WM_PLOT_PROGRESS);
        }
        if (animation) {
            if (window)
                window->CopyToScreen(*images[0]);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            RunGate().Wait();
            stopped = m_pSurface && m_pSurface->m_nStop.load() != 0;
        }
    }
    m_oldCol = lanes[count - 1].oldCol;
    m_oldRow = lanes[count - 1].oldRow;
    m_nColorIndex = lanes[count - 1].colorIndex;
    // A stop requested after the last check still counts as stopped.
    if (animation && window && !(m_pSurface && m_pSurface->m_nStop.load() != 0))
        window->SendPlotMessage(WM_PLOT_FINISHED);
}

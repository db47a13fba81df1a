#include "engine/LineDraw.h"
#include "engine/PlotSurface.h"
#include "engine/PointQueue.h"
#include "engine/RunGate.h"
#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"
#include "platform/ModulePath.h"

#include <QImage>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {
std::mutex g_traceMutex;
std::string g_tracePath;

// One plane's lane and the pen of its picture.
struct CDrawnLane {
    CPlaneLane lane;
    CLineCursor cursor;

    template <int Plane = -1>
    void Draw(double x, double y, double z, int64_t halfW, int64_t halfH) {
        int32_t column, row;
        lane.Take<Plane>(x, y, z, column, row);
        // A point that is not a number goes as the cursor's flag, not as a branch here.
        cursor.LineTo(halfW + column, halfH - row, lane.m_pixel,
                      (column == kNoPixelOffset) | (row == kNoPixelOffset));
    }
    template <int Plane>
    void DrawBlock(const double* xyz, int count, int64_t halfW, int64_t halfH) {
        for (int i = 0; i < count; ++i, xyz += 3)
            Draw<Plane>(xyz[0], xyz[1], xyz[2], halfW, halfH);
    }
    // A block of points, plane by plane: the plane is chosen once per block, and one picture
    // at a time stays in the cache.
    void DrawBlock(const double* xyz, int count, int64_t halfW, int64_t halfH) {
        switch (lane.m_nPlane) {
        case 0:
            return DrawBlock<0>(xyz, count, halfW, halfH);
        case 1:
            return DrawBlock<1>(xyz, count, halfW, halfH);
        case 2:
            return DrawBlock<2>(xyz, count, halfW, halfH);
        case 3:
            return DrawBlock<3>(xyz, count, halfW, halfH);
        default:
            return DrawBlock<-1>(xyz, count, halfW, halfH);
        }
    }
};

// Draws the planes of a pre-render on a thread of its own, so that the thread that integrates only
// integrates and reports progress; the pictures are complete when this returns. False, with
// nothing done, when no thread can be started.
template <class Progress>
bool DrawOnSecondThread(CTrajectoryPlotter& plotter, std::vector<CDrawnLane>& lanes, int64_t halfW,
                        int64_t halfH, Progress&& progress) {
    CPointQueue queue;
    std::thread drawer;
    try {
        drawer = std::thread([&] {
            queue.Drain([&](const double* xyz, int count) {
                qel::CleanVectorState(); // after the queue's waits
                for (CDrawnLane& lane : lanes)
                    lane.DrawBlock(xyz, count, halfW, halfH);
            });
        });
    } catch (const std::system_error&) {
        return false;
    }
    struct CJoin { // also when a progress handler throws
        CPointQueue& queue;
        std::thread& drawer;
        ~CJoin() {
            queue.Close();
            drawer.join();
        }
    } join{queue, drawer};
    plotter.RunPass([&](double x, double y, double z) { queue.Push(x, y, z); },
                    [&] {
                        progress();
                        return true;
                    });
    return true;
}
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

void CTrajectoryPlotter::DrawTrajectory(int plane, QImage& image, int preRender) {
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

    std::vector<CDrawnLane> lanes;
    lanes.reserve(count);
    for (int k = 0; k < count; ++k) {
        lanes.push_back({StartLane(planes[k]), CLineCursor(*images[k])});
        TraceLog("*** Zoom %.2f Plane %d", m_zoom, planes[k]);
        TraceLog("oldCol %.2f, oldRow %.2f", m_oldCol, m_oldRow);
        if (m_oldCol == kNoPixel || m_oldRow == kNoPixel)
            lanes[k].cursor.MoveToNowhere();
        else
            lanes[k].cursor.MoveTo(halfW + static_cast<int64_t>(m_oldCol),
                                   halfH - static_cast<int64_t>(m_oldRow));
    }
    auto progress = [&] {
        for (int k = 0; k < count && window; ++k) {
            if (preRender)
                window->SendPlotMessage(WM_PLOT_PROGRESS);
            else
                window->PostPlotMessage(WM_PLOT_PROGRESS);
        }
    };

    // A pre-render is drawn beside the integration; an animation pass draws as it goes, since
    // it shows its picture every ten points.
    if (!preRender || !DrawOnSecondThread(*this, lanes, halfW, halfH, progress))
        RunPass(
            [&](double x, double y, double z) {
                for (CDrawnLane& lane : lanes)
                    lane.Draw(x, y, z, halfW, halfH);
            },
            [&] {
                progress();
                if (!animation)
                    return true;
                if (window)
                    window->CopyToScreen(*images[0]);
                if (m_nPauseMicros > 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(m_nPauseMicros));
                RunGate().Wait();
                return !(m_pSurface && m_pSurface->m_nStop.load() != 0);
            });
    m_oldCol = lanes[count - 1].lane.m_oldCol;
    m_oldRow = lanes[count - 1].lane.m_oldRow;
    m_nColorIndex = lanes[count - 1].lane.m_nColorIndex;
    // A stop requested after the last check still counts as stopped.
    if (animation && window && !(m_pSurface && m_pSurface->m_nStop.load() != 0))
        window->SendPlotMessage(WM_PLOT_FINISHED);
}

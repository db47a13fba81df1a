#pragma once
#include "engine/PlotMessages.h"
#include "engine/TrajectoryPlotter.h"
#include "platform/Colors.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <atomic>

class CAttractor;

// The drawing surface behind the plot window: a picture and an animation buffer per plane,
// the axes with their labels, and the plotter that draws the trajectory.
class CPlotSurface {
public:
    CPlotSurface();

    void SetAttractor(CAttractor* attractor);
    // Pre-renders planes 0 to 3; the first call creates the surfaces at the host's size.
    void Prepare(CPlotHost* window, int accumulate);
    void Reset(CPlotHost* window, int accumulate);
    // The first preparation without drawing: stores the window and creates the surfaces at
    // its size (without pictures: only the size, for RenderPlaneInto pictures of one's own).
    // Prepare does this itself on its first call.
    void CreateSurfaces(CPlotHost* window, bool pictures = true);
    // With a target, a pre-render pass into it; without, an animation pass into the plane's
    // buffer (or, when the run gate is closed, only opening the gate).
    void DrawPlane(int plane, QImage* target);
    // The animation pass of a worker thread. Its starter has cleared the stop flag and a
    // stop or pause requested since must hold, so neither is undone here.
    void DrawAnimationOnWorker(int plane);
    void ShowPlane(int plane);
    void ClearPlane(int plane, const QRect& rect);
    void RenderPlaneInto(QImage& target, int plane) { DrawPlane(plane, &target); }

    CPlotHost* GetWindowDC() const { return m_pWindow; }
    const QImage& Picture(int plane) const { return m_planes[plane]; }
    const QImage& AnimationBuffer(int plane) const { return m_buffers[plane]; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    const QRect& ClientRect() const { return m_rcClient; }
    CTrajectoryPlotter& Plotter() { return m_plotter; }
    const CTrajectoryPlotter& Plotter() const { return m_plotter; }
    CAttractor* Attractor() const { return m_pAttractor; }

    std::atomic<int> m_nStop{0};
    int m_nAccumulate = 0;
    bool m_bClearPending = false;

private:
    friend class CTrajectoryPlotter;
    void ClearForPass(QImage& surface, bool target);
    void DrawAxes(QImage& surface, int plane);
    void DrawLabel(QImage& surface, const QRect& rect, int alignment, const char* text);
    void PreparePlanes();

    CAttractor* m_pAttractor = nullptr;
    CTrajectoryPlotter m_plotter;
    CPlotHost* m_pWindow = nullptr;
    int m_bFirstPrepare = 1;
    QFont m_font;
    QRect m_rcClient;
    int m_nWidth = 0, m_nHeight = 0;
    QImage m_planes[4];
    QImage m_buffers[4];
};

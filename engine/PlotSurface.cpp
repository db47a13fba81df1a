#include "engine/PlotSurface.h"

#include "engine/LineDraw.h"
#include "engine/RunGate.h"
#include "model/Attractor.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
// max(v, lo), except that hi wins whenever that reaches it.
int Clamp(int64_t v, int lo, int hi) {
    int64_t m = std::max<int64_t>(v, lo);
    return m >= hi ? hi : static_cast<int>(m);
}

int ZoomAsInt(double zoom) {
    if (!(zoom == zoom))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(zoom), -2147483647.0, 2147483647.0));
}
// A font height of 16 is the cell (ascent plus descent), not the em size: the largest pixel
// size whose cell fits, in whatever font "Arial" resolves to here. Measured once.
int LabelPixelSize(QFont font) {
    static const int size = [&] {
        for (int px = 16; px > 1; --px) {
            font.setPixelSize(px);
            const QFontMetrics fm(font);
            if (fm.ascent() + fm.descent() <= 16)
                return px;
        }
        return 1;
    }();
    return size;
}
} // namespace

CPlotSurface::CPlotSurface() {
    m_font.setFamily("Arial");
    m_font.setPixelSize(LabelPixelSize(m_font));
    m_plotter.Attach(this, 1);
}

void CPlotSurface::SetAttractor(CAttractor* attractor) {
    m_pAttractor = attractor;
    m_plotter.SetAttractor(attractor);
    m_bClearPending = true;
}

void CPlotSurface::Reset(CPlotHost* window, int accumulate) {
    m_nStop = 0;
    RunGate().Set();
    m_plotter.Attach(this, 0);
    Prepare(window, accumulate);
}

void CPlotSurface::Prepare(CPlotHost* window, int accumulate) {
    m_nAccumulate = accumulate;
    CreateSurfaces(window);
    PreparePlanes();
}

void CPlotSurface::CreateSurfaces(CPlotHost* window, bool pictures) {
    if (m_bFirstPrepare) {
        m_bFirstPrepare = 0;
        m_pWindow = window;
        m_nWidth = window ? std::max(0, window->ClientWidth()) : 0;
        m_nHeight = window ? std::max(0, window->ClientHeight()) : 0;
        m_rcClient = QRect(0, 0, m_nWidth, m_nHeight);
        for (QImage* set : {m_planes, m_buffers})
            for (int i = 0; i < 4 && pictures; ++i) {
                set[i] = QImage(m_nWidth, m_nHeight, QImage::Format_RGB32);
                set[i].fill(Qt::black);
            }
    }
}

void CPlotSurface::ClearForPass(QImage& surface, bool target) {
    if (target) {
        if (!m_nAccumulate || m_bClearPending) {
            surface.fill(Qt::black);
            m_bClearPending = false;
        }
    } else if (!m_nAccumulate) {
        surface.fill(Qt::black);
    }
}

// Four pre-render passes; the plotter integrates the trajectory once and draws every plane
// from it, with the same pictures, messages and trace lines as four separate passes.
void CPlotSurface::PreparePlanes() {
    if (!m_pAttractor)
        return;
    QImage* targets[4];
    for (int plane = 0; plane < 4; ++plane) {
        m_nStop = 0;
        ClearForPass(m_planes[plane], true);
        DrawAxes(m_planes[plane], plane);
        targets[plane] = &m_planes[plane];
    }
    static const int planes[4] = {0, 1, 2, 3};
    m_plotter.DrawPlanes(planes, targets, 4, 1);
}

void CPlotSurface::DrawAnimationOnWorker(int plane) {
    if (!m_pAttractor || plane < 0 || plane > 3)
        return;
    QImage& surface = m_buffers[plane];
    ClearForPass(surface, false);
    DrawAxes(surface, plane);
    m_plotter.DrawTrajectory(plane, surface, 0);
    surface.fill(Qt::black);
}

void CPlotSurface::DrawPlane(int plane, QImage* target) {
    m_nStop = 0;
    if (!m_pAttractor)
        return;
    QImage* surface = target;
    if (target) {
        ClearForPass(*target, true);
    } else {
        if (!RunGate().IsSet()) {
            // A repaint resumes a paused animation this way.
            RunGate().Set();
            return;
        }
        if (plane < 0 || plane > 3)
            return;
        surface = &m_buffers[plane];
        ClearForPass(*surface, false);
    }
    DrawAxes(*surface, plane);
    m_plotter.DrawTrajectory(plane, *surface, target ? 1 : 0);
    if (!target)
        surface->fill(Qt::black); // the screen keeps the last copy
}

void CPlotSurface::DrawAxes(QImage& surface, int plane) {
    if (surface.isNull())
        return;
    const int W = m_nWidth, H = m_nHeight;
    const int64_t Z = ZoomAsInt(m_pAttractor->m_zoom.m_value);
    const int p = std::clamp(plane, 0, 3);
    const int64_t cA = m_pAttractor->m_center[p].x, cB = m_pAttractor->m_center[p].y;
    const int y = Clamp(cB * Z + H / 2, 10, H - 10);
    const int x = Clamp(W / 2 - cA * Z, 20, W - 10);
    const uint32_t white = PixelFromColorRef(0xFFFFFF);
    CLineCursor line(surface);
    line.MoveTo(0, y);
    line.LineTo(W, y, white);
    line.MoveTo(x, 0);
    line.LineTo(x, H, white);
    int ex = 0, ey = 0;
    if (plane == 3) {
        ex = Clamp(static_cast<int64_t>(W / 2) + x, 20, W - 10);
        ey = Clamp(static_cast<int64_t>(y) - H / 3, 10, H - 10);
        line.MoveTo(x, y);
        line.LineTo(ex, ey, white);
    }

    const char* labels[4][3] = {
        {m_pAttractor->m_szAxisX, m_pAttractor->m_szAxisY, nullptr},
        {m_pAttractor->m_szAxisX, m_pAttractor->m_szAxisZ, nullptr},
        {m_pAttractor->m_szAxisY, m_pAttractor->m_szAxisZ, nullptr},
        {m_pAttractor->m_szAxisX, m_pAttractor->m_szAxisY, m_pAttractor->m_szAxisZ}};
    if (plane < 0 || plane > 3)
        return;
    const int right = m_rcClient.right() + 1;
    DrawLabel(surface, QRect(QPoint(right - 90, y - 20), QPoint(right - 1, y - 1)), Qt::AlignRight,
              labels[plane][0]);
    const int vl = std::max(x - 70, 0);
    DrawLabel(surface, QRect(vl, 0, 140, 20), Qt::AlignHCenter, labels[plane][1]);
    if (labels[plane][2]) {
        const int ol = std::min(ex - 100, W - 100), ot = std::max(ey - 20, 20);
        DrawLabel(surface, QRect(ol, ot, 100, 20), Qt::AlignRight, labels[plane][2]);
    }
}

void CPlotSurface::DrawLabel(QImage& surface, const QRect& rect, int alignment, const char* text) {
    if (rect.isEmpty() || !text || !*text)
        return;
    QPainter painter(&surface);
    painter.setFont(m_font);
    painter.setPen(QColor(255, 255, 255));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QColor(0, 0, 0));
    painter.setClipRect(rect);
    painter.drawText(rect, alignment | Qt::AlignTop | Qt::TextSingleLine,
                     QString::fromLatin1(text));
}

void CPlotSurface::ShowPlane(int plane) {
    RunGate().Set();
    if (m_pWindow && plane >= 0 && plane <= 3)
        m_pWindow->CopyToScreen(m_planes[plane]);
    if (m_pWindow)
        m_pWindow->SendPlotMessage(WM_PLOT_SHOWN, 0, 0);
}

void CPlotSurface::ClearPlane(int plane, const QRect& rect) {
    if (plane < 0 || plane > 3 || m_planes[plane].isNull())
        return;
    QPainter painter(&m_planes[plane]);
    painter.fillRect(rect, Qt::black);
}

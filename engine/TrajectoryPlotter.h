#pragma once
#include "platform/Colors.h"

#include <cstdint>
#include <limits>
#include <string>

class CAttractor;
class CPlotSurface;
class QImage;

// Turns the current attractor into plotted points: integration, projection and the colour of
// each segment. The drawing pass itself is DrawTrajectory.
class CTrajectoryPlotter {
public:
    // Offset given to a point whose coordinate is not a number. Offsets beyond the 32-bit
    // range saturate to +-INT32_MAX, so only NaN maps here; segments touching it are skipped.
    static constexpr int32_t kNoPixel = std::numeric_limits<int32_t>::min();
    static constexpr COLORREF kStartColor = 0xFFC800;

    CTrajectoryPlotter();

    void Attach(CPlotSurface* surface, int setUp);
    void SetAttractor(CAttractor* attractor) { m_pAttractor = attractor; }
    CAttractor* GetAttractor() const { return m_pAttractor; }

    void BeginPass(int plane);
    void Advance();
    int32_t Column(int plane, double x, double y, double z) const;
    int32_t Row(int plane, double x, double y, double z) const;
    bool CrossesCentre(int32_t column) const {
        return (column < 0 && m_oldCol >= 0) || (column > 0 && m_oldCol <= 0);
    }
    COLORREF NextColor();
    // Colour changes are possible for the whole pass or for none of it.
    bool ColorChangesEnabled() const;

    // One complete pass of one plane into image; see PlotPass.cpp.
    void DrawTrajectory(int plane, QImage& image, int preRender, int unused = 0);
    // Pre-render passes of several planes from one integration of the trajectory: the same
    // pictures, messages and trace lines as one DrawTrajectory per plane, in order.
    void DrawPlanes(const int* planes, QImage* const* images, int count, int preRender);

    // Appends one formatted line to the trace file, if its folder exists.
    static void TraceLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static void SetTracePath(const std::string& path); // empty: the default trace file

    int32_t m_nColorIndex = -1;
    COLORREF m_colors[13];
    CPlotSurface* m_pSurface = nullptr;
    double m_zoom = 0;
    double m_x = 0, m_y = 0, m_z = 0;
    double m_step = 0;
    double m_halfStep = 0;
    double m_oldRow = 0;
    double m_oldCol = 0;
    int32_t m_nIterations = 0;
    double m_angle[3];
    double m_sin[3];
    double m_cos[3];
    CAttractor* m_pAttractor = nullptr;
};

// Truncation toward zero to a 32-bit offset, defined for every double.
int32_t TruncToOffset(double v);

#pragma once
#include "model/Integrator.h"
#include "platform/Colors.h"

#include <cstdint>
#include <limits>
#include <string>

class CAttractor;
class CPlotSurface;
class QImage;

// Offset given to a point whose coordinate is not a number. Offsets beyond the 32-bit range
// saturate to +-INT32_MAX, so only NaN maps here; segments touching it are skipped.
constexpr int32_t kNoPixelOffset = std::numeric_limits<int32_t>::min();

// Truncation toward zero to a 32-bit offset, defined for every double.
inline int32_t TruncToOffset(double v) {
    constexpr double kMax = 2147483647.0;
    if (v > -kMax && v < kMax)
        return static_cast<int32_t>(v);
    if (v != v)
        return kNoPixelOffset;
    return v > 0 ? std::numeric_limits<int32_t>::max() : -std::numeric_limits<int32_t>::max();
}

// The projection of a point onto a plane, as a pixel offset from the window centre: plane 0
// X-Y, 1 X-Z, 2 Y-Z, 3 the oblique view through the cosines and sines; any other plane 0.
inline int32_t ProjectColumn(int plane, double zoom, double cH, const double* cosines, double x,
                             double y, double z) {
    switch (plane) {
    case 0:
    case 1:
        return TruncToOffset(zoom * (x - cH));
    case 2:
        return TruncToOffset(zoom * (y - cH));
    case 3:
        return TruncToOffset(zoom * ((cosines[0] * x + cosines[1] * y + cosines[2] * z) - cH));
    default:
        return 0;
    }
}
inline int32_t ProjectRow(int plane, double zoom, double cV, const double* sines, double x,
                          double y, double z) {
    switch (plane) {
    case 0:
        return TruncToOffset(zoom * (y - cV));
    case 1:
    case 2:
        return TruncToOffset(zoom * (z - cV));
    case 3:
        return TruncToOffset(zoom * ((sines[0] * x + sines[1] * y + sines[2] * z) - cV));
    default:
        return 0;
    }
}

// One plane's share of a pass: its projection, read once, the previous point's offsets and the
// colour rule. Every pass, drawn or listed, takes its points through Take.
struct CPlaneLane {
    int m_nPlane = 0;
    double m_zoom = 0, m_cH = 0, m_cV = 0;
    const double* m_cos = nullptr;
    const double* m_sin = nullptr;
    const COLORREF* m_colors = nullptr;
    bool m_bColorChanges = false;
    int32_t m_oldCol = 0, m_oldRow = 0; // the previous point's offsets
    int32_t m_nColorIndex = -1;
    COLORREF m_color = 0xFFC800;
    uint32_t m_pixel = PixelFromColorRef(0xFFC800);

    // Projects the next point into column and row. When colour changes are on and the column
    // has changed sides of the centre line (a point on it never counts), the colour moves on
    // through the table of 13, wrapping to its start. Plane, when given, is the lane's plane
    // known to the compiler.
    template <int Plane = -1>
    void Take(double x, double y, double z, int32_t& column, int32_t& row) {
        const int plane = Plane >= 0 ? Plane : m_nPlane;
        column = ProjectColumn(plane, m_zoom, m_cH, m_cos, x, y, z);
        row = ProjectRow(plane, m_zoom, m_cV, m_sin, x, y, z);
        if (m_bColorChanges && ((column < 0 && m_oldCol >= 0) || (column > 0 && m_oldCol <= 0))) {
            if (++m_nColorIndex == 13)
                m_nColorIndex = 0;
            m_color = m_colors[m_nColorIndex];
            m_pixel = PixelFromColorRef(m_color);
        }
        m_oldCol = column;
        m_oldRow = row;
    }
};

// Turns the current attractor into plotted points: integration, projection and the colour of
// each segment. The drawing pass itself is DrawTrajectory.
class CTrajectoryPlotter {
public:
    static constexpr int32_t kNoPixel = kNoPixelOffset;
    static constexpr COLORREF kStartColor = 0xFFC800;

    CTrajectoryPlotter();

    void Attach(CPlotSurface* surface, int setUp);
    void SetAttractor(CAttractor* attractor) { m_pAttractor = attractor; }
    CAttractor* GetAttractor() const { return m_pAttractor; }

    void BeginPass(int plane);
    void Advance();
    int32_t Column(int plane, double x, double y, double z) const;
    int32_t Row(int plane, double x, double y, double z) const;
    // Colour changes are possible for the whole pass or for none of it.
    bool ColorChangesEnabled() const;

    // The start of a pass of one plane: BeginPass, and the plane's lane from the start point
    // with the pass's first colour.
    CPlaneLane StartLane(int plane);
    // The pass loop: the pass's m_nIterations steps from the current point, point(x, y, z)
    // after each and batch() after every tenth; a batch returning false ends the pass. The
    // current point ends as the last one reached.
    template <class Point, class Batch> void RunPass(Point&& point, Batch&& batch);

    // One complete pass of one plane into image; see PlotPass.cpp.
    void DrawTrajectory(int plane, QImage& image, int preRender);
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
    double m_oldRow = 0;
    double m_oldCol = 0;
    int32_t m_nIterations = 0;
    double m_angle[3];
    double m_sin[3];
    double m_cos[3];
    CAttractor* m_pAttractor = nullptr;
    // The animation pass's sleep after every ten points, which sets the pace of Simulate;
    // only a benchmark of the drawing cost sets it to 0.
    int m_nPauseMicros = 1000;

private:
    // The kind and parameters of the current pass, read once by BeginPass for Advance.
    int m_nKind = SORVAN_KIND;
    qel::CStepParams m_params;
};

template <class Point, class Batch> void CTrajectoryPlotter::RunPass(Point&& point, Batch&& batch) {
    int32_t untilBatch = 10;
    qel::Integrate(*m_pAttractor, m_x, m_y, m_z, m_nIterations, [&](double x, double y, double z) {
        point(x, y, z);
        if (--untilBatch != 0)
            return true;
        untilBatch = 10; // after points 10, 20, ...: i % 10 == 9
        const bool more = static_cast<bool>(batch());
        qel::CleanVectorState(); // the batch calls out into Qt
        return more;
    });
}

#include "engine/TrajectoryPlotter.h"

#include "model/Attractor.h"
#include "model/Integrator.h"

#include <cmath>

CTrajectoryPlotter::CTrajectoryPlotter()
    : m_colors{0xC700A1, 0xDC006E, 0xFA3D1F, 0xE6A100, 0xC7C700, 0x8CD100, 0x00DC00,
               0x33E6A1, 0x33DCE6, 0x2EB0E6, 0x2982F0, 0x0000F0, 0x6300DC},
      m_angle{45, 0, 90}, m_sin{}, m_cos{} {}

void CTrajectoryPlotter::Attach(CPlotSurface* surface, int setUp) {
    m_pSurface = surface;
    if (!setUp)
        return;
    for (int i = 0; i < 3; ++i) {
        // Whole degrees, reduced modulo 360, with this constant rather than pi/180.
        long degrees = static_cast<long>(std::trunc(m_angle[i])) % 360;
        m_angle[i] = static_cast<double>(degrees) * 0.0174533;
        m_sin[i] = std::sin(m_angle[i]);
        m_cos[i] = std::cos(m_angle[i]);
    }
}

void CTrajectoryPlotter::BeginPass(int plane) {
    const CAttractor& a = *m_pAttractor;
    m_zoom = a.m_zoom.m_value;
    m_x = a.m_initX.m_value;
    m_y = a.m_initY.m_value;
    m_z = a.m_initZ.m_value;
    m_oldCol = Column(plane, m_x, m_y, m_z);
    m_oldRow = Row(plane, m_x, m_y, m_z);
    m_nIterations = a.m_iteration.m_value;
    m_nKind = a.GetKind();
    m_params = qel::CStepParams::From(a);
    qel::CleanVectorState();
}

void CTrajectoryPlotter::Advance() {
    qel::WithKind(m_nKind,
                  [&](auto kind) { qel::Step<decltype(kind)::value>(m_params, m_x, m_y, m_z); });
}

int32_t CTrajectoryPlotter::Column(int plane, double x, double y, double z) const {
    if (plane < 0 || plane > 3)
        return 0;
    return ProjectColumn(plane, m_zoom, m_pAttractor->m_center[plane].x, m_cos, x, y, z);
}

int32_t CTrajectoryPlotter::Row(int plane, double x, double y, double z) const {
    if (plane < 0 || plane > 3)
        return 0;
    return ProjectRow(plane, m_zoom, m_pAttractor->m_center[plane].y, m_sin, x, y, z);
}

bool CTrajectoryPlotter::ColorChangesEnabled() const {
    return m_nIterations > m_pAttractor->m_nStartColorChangeIter;
}

CPlaneLane CTrajectoryPlotter::StartLane(int plane) {
    m_nColorIndex = -1;
    BeginPass(plane);
    CPlaneLane lane;
    lane.m_nPlane = plane;
    lane.m_zoom = m_zoom;
    if (plane >= 0 && plane <= 3) {
        lane.m_cH = m_pAttractor->m_center[plane].x;
        lane.m_cV = m_pAttractor->m_center[plane].y;
    }
    lane.m_cos = m_cos;
    lane.m_sin = m_sin;
    lane.m_colors = m_colors;
    lane.m_bColorChanges = ColorChangesEnabled();
    lane.m_oldCol = static_cast<int32_t>(m_oldCol);
    lane.m_oldRow = static_cast<int32_t>(m_oldRow);
    lane.m_nColorIndex = m_nColorIndex;
    lane.m_color = kStartColor;
    lane.m_pixel = PixelFromColorRef(kStartColor);
    return lane;
}

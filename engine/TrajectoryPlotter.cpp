#include "engine/TrajectoryPlotter.h"

#include "model/Attractor.h"
#include "model/Integrator.h"

#include <cmath>

int32_t TruncToOffset(double v) {
    if (std::isnan(v))
        return CTrajectoryPlotter::kNoPixel;
    constexpr double kMax = 2147483647.0;
    if (v >= kMax)
        return std::numeric_limits<int32_t>::max();
    if (v <= -kMax)
        return -std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

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
    m_step = a.m_variation.m_value;
    m_halfStep = a.m_variation.m_value * 0.5;
    m_nIterations = a.m_iteration.m_value;
}

void CTrajectoryPlotter::Advance() {
    const qel::CStepParams p = qel::CStepParams::From(*m_pAttractor);
    qel::WithKind(m_pAttractor->GetKind(),
                  [&](auto kind) { qel::Step<decltype(kind)::value>(p, m_x, m_y, m_z); });
}

int32_t CTrajectoryPlotter::Column(int plane, double x, double y, double z) const {
    if (plane < 0 || plane > 3)
        return 0;
    const double cH = m_pAttractor->m_center[plane].x;
    switch (plane) {
    case 0:
    case 1:
        return TruncToOffset(m_zoom * (x - cH));
    case 2:
        return TruncToOffset(m_zoom * (y - cH));
    default:
        return TruncToOffset(m_zoom * ((m_cos[0] * x + m_cos[1] * y + m_cos[2] * z) - cH));
    }
}

int32_t CTrajectoryPlotter::Row(int plane, double x, double y, double z) const {
    if (plane < 0 || plane > 3)
        return 0;
    const double cV = m_pAttractor->m_center[plane].y;
    switch (plane) {
    case 0:
        return TruncToOffset(m_zoom * (y - cV));
    case 1:
    case 2:
        return TruncToOffset(m_zoom * (z - cV));
    default:
        return TruncToOffset(m_zoom * ((m_sin[0] * x + m_sin[1] * y + m_sin[2] * z) - cV));
    }
}

COLORREF CTrajectoryPlotter::NextColor() {
    if (++m_nColorIndex == 13)
        m_nColorIndex = 0;
    return m_colors[m_nColorIndex];
}

bool CTrajectoryPlotter::ColorChangesEnabled() const {
    return m_nIterations > m_pAttractor->m_nStartColorChangeIter;
}

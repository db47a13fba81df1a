#include "engine/PointList.h"

#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"

#include <cmath>

bool WritePointList(CAttractor& a, int plane, std::FILE* f) {
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    p.SetAttractor(&a);
    p.m_nColorIndex = -1;
    p.BeginPass(plane);
    COLORREF color = CTrajectoryPlotter::kStartColor;
    std::fprintf(f, "i,x,y,z,column,row,color\n");
    auto row = [&](long long i, int32_t column, int32_t r) {
        if (std::isfinite(p.m_x) && std::isfinite(p.m_y) && std::isfinite(p.m_z))
            std::fprintf(f, "%lld,%.17g,%.17g,%.17g,%d,%d,0x%06X\n", i, p.m_x, p.m_y, p.m_z, column,
                         r, color);
        else
            std::fprintf(f, "%lld,%.17g,%.17g,%.17g,,,0x%06X\n", i, p.m_x, p.m_y, p.m_z, color);
    };
    row(0, static_cast<int32_t>(p.m_oldCol), static_cast<int32_t>(p.m_oldRow));
    const bool changes = p.ColorChangesEnabled();
    for (int32_t i = 0; i < p.m_nIterations; ++i) {
        p.Advance();
        int32_t column = p.Column(plane, p.m_x, p.m_y, p.m_z);
        int32_t r = p.Row(plane, p.m_x, p.m_y, p.m_z);
        if (changes && p.CrossesCentre(column))
            color = p.NextColor();
        row(i + 1LL, column, r);
        p.m_oldCol = column;
        p.m_oldRow = r;
    }
    return !std::ferror(f);
}

#include "engine/PointList.h"

#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"

#include <cmath>

bool WritePointList(CAttractor& a, int plane, std::FILE* f) {
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    p.SetAttractor(&a);
    CPlaneLane lane = p.StartLane(plane);
    std::fprintf(f, "i,x,y,z,column,row,color\n");
    long long i = 0;
    auto row = [&](double x, double y, double z, int32_t column, int32_t r) {
        if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z))
            std::fprintf(f, "%lld,%.17g,%.17g,%.17g,%d,%d,0x%06X\n", i, x, y, z, column, r,
                         lane.m_color);
        else
            std::fprintf(f, "%lld,%.17g,%.17g,%.17g,,,0x%06X\n", i, x, y, z, lane.m_color);
        ++i;
    };
    row(p.m_x, p.m_y, p.m_z, lane.m_oldCol, lane.m_oldRow);
    p.RunPass(
        [&](double x, double y, double z) {
            int32_t column, r;
            lane.Take(x, y, z, column, r);
            row(x, y, z, column, r);
        },
        [] { return true; });
    return !std::ferror(f);
}

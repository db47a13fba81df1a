#include "engine/PointList.h"

#include "engine/TrajectoryPlotter.h"
#include "model/Attractor.h"
#include "platform/AtomicFile.h"
#include "platform/CsvText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

bool WritePointList(CAttractor& a, int plane, const std::string& path, std::string* error) {
    CTrajectoryPlotter p;
    p.Attach(nullptr, 1);
    p.SetAttractor(&a);
    CPlaneLane lane = p.StartLane(plane);
    platform::CAtomicFile f(path);
    bool ok = f.Write("i,x,y,z,column,row,color\n");
    long long i = 0;
    auto row = [&](double x, double y, double z, int32_t column, int32_t r) {
        char line[4 * platform::kCsvNumberMax + 64];
        char* at = std::to_chars(line, line + 24, i++).ptr;
        for (double v : {x, y, z}) {
            *at++ = ',';
            at = platform::FormatCsvNumber(at, v);
        }
        *at++ = ',';
        if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) {
            at = std::to_chars(at, at + 12, column).ptr;
            *at++ = ',';
            at = std::to_chars(at, at + 12, r).ptr;
        } else {
            *at++ = ',';
        }
        at += std::snprintf(at, 16, ",0x%06X\n", lane.m_color);
        ok = ok && f.Write(line, static_cast<std::size_t>(at - line));
    };
    row(p.m_x, p.m_y, p.m_z, lane.m_oldCol, lane.m_oldRow);
    p.RunPass(
        [&](double x, double y, double z) {
            int32_t column, r;
            lane.Take(x, y, z, column, r);
            row(x, y, z, column, r);
        },
        [&] { return ok; });
    ok = ok && f.Commit();
    if (!ok && error)
        *error = f.Error();
    return ok;
}

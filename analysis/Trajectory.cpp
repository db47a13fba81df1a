#include "analysis/Trajectory.h"

#include "model/Integrator.h"

namespace qel {

std::vector<CPoint3> CollectTrajectory(const CAttractor& record, int64_t count) {
    std::vector<CPoint3> points;
    double x = record.m_initX.m_value, y = record.m_initY.m_value, z = record.m_initZ.m_value;
    points.reserve(static_cast<size_t>(count > 0 ? count : 0) + 1);
    points.push_back({x, y, z});
    Integrate(record, x, y, z, count, [&](double X, double Y, double Z) {
        points.push_back({X, Y, Z});
    });
    return points;
}

} // namespace qel

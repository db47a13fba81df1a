#pragma once
// The system of the Equations box as an ordinary differential equation (the economic model's z0
// is z), integrated with tangent vectors carried along by the same stages: classical RK4 at a
// fixed step, or the Dormand-Prince 5(4) pair with its step chosen by error control on the
// state. Generic over the number type, so that the same code runs on SIMD lanes.
#include "model/Integrator.h"

#include <algorithm>
#include <cmath>

namespace qel {

#include "analysis/FlowSteps-inl.h"

// The drawing step's derivative: the step of model/Integrator.h applied to a point and its
// tangent vectors. The point goes through the same operations as Step<K>, so the trajectory
// stays bit for bit the picture's.
template <int K, int M>
inline void StepDrawnTangent(const CStepParams& p, double& x, double& y, double& z,
                             double (&v)[3][M]) {
    const double s = p.half;
    const double base[3] = {x, y, z};
    double point[3] = {x, y, z};
    double d[4][3], stage[3][M], sumv[3][M] = {};
    for (int r = 0; r < 3; ++r)
        for (int m = 0; m < M; ++m)
            stage[r][m] = v[r][m];
    for (int i = 0; i < 4; ++i) {
        // Rates at this stage's point with z0 the base point's z, which moves with v's z.
        CKindRates<K>::Rates(p, base[2], s, point[0], point[1], point[2], d[i][0], d[i][1],
                             d[i][2]);
        double J[3][3], dz0[3];
        CKindRates<K>::Jacobian(p, base[2], point[0], point[1], point[2], J, dz0);
        double dv[3][M];
        for (int r = 0; r < 3; ++r)
            for (int m = 0; m < M; ++m)
                dv[r][m] = s * (J[r][0] * stage[0][m] + J[r][1] * stage[1][m] +
                                J[r][2] * stage[2][m] + dz0[r] * v[2][m]);
        for (int r = 0; r < 3; ++r) {
            point[r] = d[i][r] + base[r];
            for (int m = 0; m < M; ++m) {
                sumv[r][m] += dv[r][m];
                stage[r][m] = dv[r][m] + v[r][m];
            }
        }
    }
    x = (d[1][0] + d[0][0] + d[2][0] + d[3][0]) / 3.0 + x;
    y = (d[1][1] + d[0][1] + d[2][1] + d[3][1]) / 3.0 + y;
    z = (d[1][2] + d[0][2] + d[2][2] + d[3][2]) / 3.0 + z;
    for (int r = 0; r < 3; ++r)
        for (int m = 0; m < M; ++m)
            v[r][m] = sumv[r][m] / 3.0 + v[r][m];
}

} // namespace qel

#include "qel-bench-bare.h"

#include "model/VectorState.h"

#include <cmath>

namespace {
// Four half-step stages from the same base point, summed d2 + d1 + d3 + d4 and divided by 3.
#define QEL_BARE_KIND(Name, DX, DY, DZ)                                                            \
    void Name(const double* k, double v, double& x, double& y, double& z, int64_t n) {             \
        const double a = k[0], b = k[1], c = k[2], d = k[3], e = k[4], f = k[5], g = k[6];         \
        (void)a, (void)b, (void)c, (void)d, (void)e, (void)f, (void)g;                             \
        const double s = v * 0.5;                                                                  \
        double px = x, py = y, pz = z;                                                             \
        for (int64_t i = 0; i < n; ++i) {                                                          \
            const double z0 = pz;                                                                  \
            (void)z0;                                                                              \
            double X = px, Y = py, Z = pz;                                                         \
            const double d1x = (DX)*s, d1y = (DY)*s, d1z = (DZ)*s;                                 \
            X = d1x + px, Y = d1y + py, Z = d1z + pz;                                              \
            const double d2x = (DX)*s, d2y = (DY)*s, d2z = (DZ)*s;                                 \
            X = d2x + px, Y = d2y + py, Z = d2z + pz;                                              \
            const double d3x = (DX)*s, d3y = (DY)*s, d3z = (DZ)*s;                                 \
            X = d3x + px, Y = d3y + py, Z = d3z + pz;                                              \
            const double d4x = (DX)*s, d4y = (DY)*s, d4z = (DZ)*s;                                 \
            px = (d2x + d1x + d3x + d4x) / 3.0 + px;                                               \
            py = (d2y + d1y + d3y + d4y) / 3.0 + py;                                               \
            pz = (d2z + d1z + d3z + d4z) / 3.0 + pz;                                               \
        }                                                                                          \
        x = px, y = py, z = pz;                                                                    \
    }

QEL_BARE_KIND(Henon, std::cos(Z) * (a * X) - std::sin(Z) * ((Y - X * X) * b),
              std::sin(Z) * (c * X) + std::cos(Z) * ((Y - X * X) * d), (X + Y) / 5.0 + e)
QEL_BARE_KIND(Ikeda, (std::cos(Z) * X - std::sin(Z) * Y) * b + a,
              (std::cos(Z) * Y + std::sin(Z) * X) * b, c - d / ((X * X + 1.0) + Y * Y))
QEL_BARE_KIND(Lorenz, (Y - X) * c, (a * X - X * Z) - Y, X* Y - b * Z)
QEL_BARE_KIND(Pickover, std::sin(a* X) - std::cos(b * Y) * Z, std::sin(c* X) * Z - std::cos(d * Y),
              e / std::sin(X))
QEL_BARE_KIND(Rossler, (Y + Z) * (-1.0), a* Y + X, (X - c) * Z + b)
QEL_BARE_KIND(Economic, std::sin(Z) * (b * Y) + std::cos(Z) * (X - a * Y),
              std::cos(Z) * (d * Y) + std::sin(z0) * (c * Y + X),
              std::atan((((1 - f) * Y) / (1 - g)) * X) + e * Z)
} // namespace

void BareIntegrate(int kind, const double params[7], double variation, double& x, double& y,
                   double& z, int64_t n) {
    using Fn = void (*)(const double*, double, double&, double&, double&, int64_t);
    static const Fn kinds[6] = {Henon, Ikeda, Lorenz, Pickover, Rossler, Economic};
    qel::CleanVectorState();
    kinds[kind >= 0 && kind < 6 ? kind : 5](params, variation, x, y, z, n);
}

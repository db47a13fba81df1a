#pragma once
// The integration step every pass and every analysis runs. The kind's equations are chosen once
// per run (a template per kind, no virtual call per stage) and the parameters are read once into
// locals. The expressions keep the order of their operations, so every point is bit-identical
// to the record's own Evaluate, which uses the same rates.
#include "model/Attractor.h"

#include <cmath>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace qel {

// A record's seven parameters and its half step, as one run reads them.
struct CStepParams {
    double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
    double half = 0; // each stage's h: half the Variation

    static CStepParams From(const CAttractor& r) {
        CStepParams p;
        p.a = r.m_param[0].m_value;
        p.b = r.m_param[1].m_value;
        p.c = r.m_param[2].m_value;
        p.d = r.m_param[3].m_value;
        p.e = r.m_param[4].m_value;
        p.f = r.m_param[5].m_value;
        p.g = r.m_param[6].m_value;
        p.half = r.m_variation.m_value * 0.5;
        return p;
    }
};

// Right-hand side times h at (X, Y, Z); z0 is the stage's base point (the economic model's
// money equation takes its sine). Generic over the number type so that the same equations run
// on SIMD lanes; for double the operations and their order are the drawing step's.
//
// Jacobian: the partial derivatives of the unscaled right-hand side at (X, Y, Z) with z0 held
// (J[row][column], rows the rates of x, y, z), and dz0 those with respect to z0. As an ordinary
// differential equation (z0 = z) the Jacobian is J with dz0 added to its z column.
template <int Kind> struct CKindRates;

#define QEL_MATH                                                                                   \
    using std::atan;                                                                               \
    using std::cos;                                                                                \
    using std::sin

template <> struct CKindRates<0> { // Henon
    template <class T>
    static void Rates(const CStepParams& p, const T& z0, const T& h, const T& X, const T& Y,
                      const T& Z, T& dx, T& dy, T& dz) {
        QEL_MATH;
        (void)z0;
        const T q = Y - X * X;
        dx = (cos(Z) * (p.a * X) - sin(Z) * (q * p.b)) * h;
        dy = (sin(Z) * (p.c * X) + cos(Z) * (q * p.d)) * h;
        dz = ((X + Y) / 5.0 + p.e) * h;
    }
    template <class T>
    static void Jacobian(const CStepParams& p, const T& z0, const T& X, const T& Y, const T& Z,
                         T (&J)[3][3], T (&dz0)[3]) {
        QEL_MATH;
        (void)z0;
        const T q = Y - X * X, s = sin(Z), c = cos(Z);
        J[0][0] = p.a * c + 2.0 * p.b * X * s;
        J[0][1] = -p.b * s;
        J[0][2] = -(s * (p.a * X) + c * (q * p.b));
        J[1][0] = p.c * s - 2.0 * p.d * X * c;
        J[1][1] = p.d * c;
        J[1][2] = c * (p.c * X) - s * (q * p.d);
        J[2][0] = T(0.2);
        J[2][1] = T(0.2);
        J[2][2] = T(0.0);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<1> { // Ikeda
    template <class T>
    static void Rates(const CStepParams& p, const T& z0, const T& h, const T& X, const T& Y,
                      const T& Z, T& dx, T& dy, T& dz) {
        QEL_MATH;
        (void)z0;
        dx = ((cos(Z) * X - sin(Z) * Y) * p.b + p.a) * h;
        dy = ((cos(Z) * Y + sin(Z) * X) * p.b) * h;
        dz = (p.c - p.d / ((X * X + 1.0) + Y * Y)) * h;
    }
    template <class T>
    static void Jacobian(const CStepParams& p, const T& z0, const T& X, const T& Y, const T& Z,
                         T (&J)[3][3], T (&dz0)[3]) {
        QEL_MATH;
        (void)z0;
        const T s = sin(Z), c = cos(Z), D = (X * X + 1.0) + Y * Y, g = 2.0 * p.d / (D * D);
        J[0][0] = p.b * c;
        J[0][1] = -p.b * s;
        J[0][2] = -p.b * (s * X + c * Y);
        J[1][0] = p.b * s;
        J[1][1] = p.b * c;
        J[1][2] = p.b * (c * X - s * Y);
        J[2][0] = g * X;
        J[2][1] = g * Y;
        J[2][2] = T(0.0);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<2> { // Lorenz
    template <class T>
    static void Rates(const CStepParams& p, const T& z0, const T& h, const T& X, const T& Y,
                      const T& Z, T& dx, T& dy, T& dz) {
        (void)z0;
        dx = ((Y - X) * p.c) * h;
        dy = ((p.a * X - X * Z) - Y) * h;
        dz = (X * Y - p.b * Z) * h;
    }
    template <class T>
    static void Jacobian(const CStepParams& p, const T& z0, const T& X, const T& Y, const T& Z,
                         T (&J)[3][3], T (&dz0)[3]) {
        (void)z0;
        J[0][0] = T(-p.c);
        J[0][1] = T(p.c);
        J[0][2] = T(0.0);
        J[1][0] = p.a - Z;
        J[1][1] = T(-1.0);
        J[1][2] = -X;
        J[2][0] = Y;
        J[2][1] = X;
        J[2][2] = T(-p.b);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<3> { // Pickover
    template <class T>
    static void Rates(const CStepParams& p, const T& z0, const T& h, const T& X, const T& Y,
                      const T& Z, T& dx, T& dy, T& dz) {
        QEL_MATH;
        (void)z0;
        dx = (sin(p.a * X) - cos(p.b * Y) * Z) * h;
        dy = (sin(p.c * X) * Z - cos(p.d * Y)) * h;
        dz = (p.e / sin(X)) * h;
    }
    template <class T>
    static void Jacobian(const CStepParams& p, const T& z0, const T& X, const T& Y, const T& Z,
                         T (&J)[3][3], T (&dz0)[3]) {
        QEL_MATH;
        (void)z0;
        const T sx = sin(X);
        J[0][0] = p.a * cos(p.a * X);
        J[0][1] = p.b * sin(p.b * Y) * Z;
        J[0][2] = -cos(p.b * Y);
        J[1][0] = p.c * cos(p.c * X) * Z;
        J[1][1] = p.d * sin(p.d * Y);
        J[1][2] = sin(p.c * X);
        J[2][0] = -p.e * cos(X) / (sx * sx);
        J[2][1] = T(0.0);
        J[2][2] = T(0.0);
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<4> { // Rossler
    template <class T>
    static void Rates(const CStepParams& p, const T& z0, const T& h, const T& X, const T& Y,
                      const T& Z, T& dx, T& dy, T& dz) {
        (void)z0;
        dx = ((Y + Z) * (-1.0)) * h;
        dy = (p.a * Y + X) * h;
        dz = ((X - p.c) * Z + p.b) * h;
    }
    template <class T>
    static void Jacobian(const CStepParams& p, const T& z0, const T& X, const T& Y, const T& Z,
                         T (&J)[3][3], T (&dz0)[3]) {
        (void)z0, (void)Y;
        J[0][0] = T(0.0);
        J[0][1] = T(-1.0);
        J[0][2] = T(-1.0);
        J[1][0] = T(1.0);
        J[1][1] = T(p.a);
        J[1][2] = T(0.0);
        J[2][0] = Z;
        J[2][1] = T(0.0);
        J[2][2] = X - p.c;
        dz0[0] = dz0[1] = dz0[2] = T(0.0);
    }
};

template <> struct CKindRates<5> { // the economic model
    template <class T>
    static void Rates(const CStepParams& p, const T& z0, const T& h, const T& X, const T& Y,
                      const T& Z, T& dx, T& dy, T& dz) {
        QEL_MATH;
        // The money equation's sine takes the base point's z0, not Z.
        dx = (sin(Z) * (p.b * Y) + cos(Z) * (X - p.a * Y)) * h;
        dy = (cos(Z) * (p.d * Y) + sin(z0) * (p.c * Y + X)) * h;
        dz = (atan((((1 - p.f) * Y) / (1 - p.g)) * X) + p.e * Z) * h;
    }
    template <class T>
    static void Jacobian(const CStepParams& p, const T& z0, const T& X, const T& Y, const T& Z,
                         T (&J)[3][3], T (&dz0)[3]) {
        QEL_MATH;
        const T s = sin(Z), c = cos(Z), s0 = sin(z0);
        const double k = (1 - p.f) / (1 - p.g);
        const T u = k * X * Y, w = 1.0 / (1.0 + u * u);
        J[0][0] = c;
        J[0][1] = p.b * s - p.a * c;
        J[0][2] = c * (p.b * Y) - s * (X - p.a * Y);
        J[1][0] = s0;
        J[1][1] = p.d * c + p.c * s0;
        J[1][2] = -s * (p.d * Y);
        J[2][0] = k * Y * w;
        J[2][1] = k * X * w;
        J[2][2] = T(p.e);
        dz0[0] = T(0.0);
        dz0[1] = cos(z0) * (p.c * Y + X);
        dz0[2] = T(0.0);
    }
};

#undef QEL_MATH

// One step: four half-step evaluations from the same base point, summed d2 + d1 + d3 + d4 and
// divided by 3.0, that is h (f1 + f2 + f3 + f4) / 6 with h the Variation.
template <int Kind> inline void Step(const CStepParams& p, double& x, double& y, double& z) {
    const double s = p.half;
    double d1x, d1y, d1z, d2x, d2y, d2z, d3x, d3y, d3z, d4x, d4y, d4z;
    CKindRates<Kind>::Rates(p, z, s, x, y, z, d1x, d1y, d1z);
    CKindRates<Kind>::Rates(p, z, s, d1x + x, d1y + y, d1z + z, d2x, d2y, d2z);
    CKindRates<Kind>::Rates(p, z, s, d2x + x, d2y + y, d2z + z, d3x, d3y, d3z);
    CKindRates<Kind>::Rates(p, z, s, d3x + x, d3y + y, d3z + z, d4x, d4y, d4z);
    x = (d2x + d1x + d3x + d4x) / 3.0 + x;
    y = (d2y + d1y + d3y + d4y) / 3.0 + y;
    z = (d2z + d1z + d3z + d4z) / 3.0 + z;
}

// Calls fn with std::integral_constant<int, K> for kind index K; an index outside 0..4 runs
// the economic model, the program's default kind.
template <class Fn> decltype(auto) WithKind(int kind, Fn&& fn) {
    switch (kind) {
    case 0:
        return std::forward<Fn>(fn)(std::integral_constant<int, 0>{});
    case 1:
        return std::forward<Fn>(fn)(std::integral_constant<int, 1>{});
    case 2:
        return std::forward<Fn>(fn)(std::integral_constant<int, 2>{});
    case 3:
        return std::forward<Fn>(fn)(std::integral_constant<int, 3>{});
    case 4:
        return std::forward<Fn>(fn)(std::integral_constant<int, 4>{});
    default:
        return std::forward<Fn>(fn)(std::integral_constant<int, 5>{});
    }
}

// Integrates up to n steps of the record from (x, y, z), which end as the last point reached,
// calling visit(x, y, z) after each step. A visit that returns bool ends the run by returning
// false. Returns the number of steps taken.
template <class Visit>
int64_t Integrate(const CAttractor& r, double& x, double& y, double& z, int64_t n, Visit&& visit) {
    const CStepParams p = CStepParams::From(r);
    return WithKind(r.GetKind(), [&](auto kind) -> int64_t {
        constexpr int K = decltype(kind)::value;
        double X = x, Y = y, Z = z;
        int64_t i = 0;
        while (i < n) {
            Step<K>(p, X, Y, Z);
            ++i;
            if constexpr (std::is_same_v<decltype(visit(X, Y, Z)), bool>) {
                if (!visit(X, Y, Z))
                    break;
            } else {
                visit(X, Y, Z);
            }
        }
        x = X;
        y = Y;
        z = Z;
        return i;
    });
}

} // namespace qel

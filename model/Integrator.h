#pragma once
// The integration step every pass and every analysis runs. The kind's equations are chosen once
// per run (a template per kind, no virtual call per stage) and the parameters are read once into
// locals. The expressions keep the order of their operations, so every point is bit-identical
// to the record's own Evaluate, which uses the same rates.
#include "model/Attractor.h"
#include "model/VectorState.h"

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

#include "model/KindRates-inl.h"

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
    CleanVectorState();
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

#pragma once
// What the analysis tests compare with, written apart from the code under test: parameters by
// their letters, and a classical RK4 of equations typed from the Equations box.
#include "model/Integrator.h"

#include <functional>
#include <initializer_list>

inline qel::CStepParams Params(std::initializer_list<double> v, double variation = 0.01) {
    qel::CStepParams p;
    double* slots[7] = {&p.a, &p.b, &p.c, &p.d, &p.e, &p.f, &p.g};
    int i = 0;
    for (double x : v)
        *slots[i++] = x;
    p.half = variation * 0.5;
    return p;
}

using CField = std::function<void(const double* s, double* f)>;

// n classical RK4 steps of size h; after(s) is called after each.
inline void ReferenceRk4(const CField& f, double (&s)[3], double h, long n,
                         const std::function<void(const double*)>& after = {}) {
    for (long k = 0; k < n; ++k) {
        double k1[3], k2[3], k3[3], k4[3], t[3];
        f(s, k1);
        for (int i = 0; i < 3; ++i)
            t[i] = s[i] + h / 2 * k1[i];
        f(t, k2);
        for (int i = 0; i < 3; ++i)
            t[i] = s[i] + h / 2 * k2[i];
        f(t, k3);
        for (int i = 0; i < 3; ++i)
            t[i] = s[i] + h * k3[i];
        f(t, k4);
        for (int i = 0; i < 3; ++i)
            s[i] += h / 6 * (k1[i] + 2 * k2[i] + 2 * k3[i] + k4[i]);
        if (after)
            after(s);
    }
}

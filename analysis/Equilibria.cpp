#include "analysis/Equilibria.h"

#include "analysis/Flow.h"

#include <algorithm>
#include <cmath>

namespace qel {

namespace {

using cplx = std::complex<double>;

// Newton's correction of a root of x^3 + c2 x^2 + c1 x + c0.
double Polish(double r, double c2, double c1, double c0) {
    for (int i = 0; i < 4; ++i) {
        const double f = ((r + c2) * r + c1) * r + c0;
        const double d = (3 * r + 2 * c2) * r + c1;
        if (d == 0 || !std::isfinite(f / d))
            break;
        r -= f / d;
    }
    return r;
}

// Both roots of x^2 + b x + c, without cancellation.
void Quadratic(double b, double c, cplx& r1, cplx& r2) {
    const double disc = b * b - 4 * c;
    if (disc >= 0) {
        const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
        r1 = q;
        r2 = q != 0 ? c / q : 0.0;
    } else {
        const double im = 0.5 * std::sqrt(-disc);
        r1 = cplx(-0.5 * b, im);
        r2 = cplx(-0.5 * b, -im);
    }
}

// Solves A d = b by elimination with partial pivoting; false when A is singular.
bool Solve3(double (&A)[3][3], double (&b)[3], double (&d)[3]) {
    int row[3] = {0, 1, 2};
    for (int c = 0; c < 3; ++c) {
        int best = c;
        for (int r = c + 1; r < 3; ++r)
            if (std::fabs(A[row[r]][c]) > std::fabs(A[row[best]][c]))
                best = r;
        std::swap(row[c], row[best]);
        const double pivot = A[row[c]][c];
        if (pivot == 0 || !std::isfinite(pivot))
            return false;
        for (int r = c + 1; r < 3; ++r) {
            const double f = A[row[r]][c] / pivot;
            for (int k = c; k < 3; ++k)
                A[row[r]][k] -= f * A[row[c]][k];
            b[row[r]] -= f * b[row[c]];
        }
    }
    for (int c = 2; c >= 0; --c) {
        double s = b[row[c]];
        for (int k = c + 1; k < 3; ++k)
            s -= A[row[c]][k] * d[k];
        d[c] = s / A[row[c]][c];
    }
    return std::isfinite(d[0]) && std::isfinite(d[1]) && std::isfinite(d[2]);
}

double Norm(const double (&v)[3]) {
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

template <int K> bool Newton(const CStepParams& p, double (&x)[3]) {
    double f[3];
    Field<K>(p, x, f);
    for (int it = 0; it < 80; ++it) {
        double J[3][3], d[3], minus[3] = {-f[0], -f[1], -f[2]};
        FieldJacobian<K>(p, x, J);
        if (!Solve3(J, minus, d))
            return false;
        // Halve the step while it does not reduce the residual.
        double lambda = 1, y[3], g[3];
        const double before = Norm(f);
        for (int k = 0; k < 30; ++k, lambda *= 0.5) {
            for (int r = 0; r < 3; ++r)
                y[r] = x[r] + lambda * d[r];
            Field<K>(p, y, g);
            if (Norm(g) < before || before == 0)
                break;
        }
        for (int r = 0; r < 3; ++r)
            x[r] = y[r], f[r] = g[r];
        if (!std::isfinite(Norm(x)))
            return false;
        if (lambda * Norm(d) <= 1e-13 * (1 + Norm(x)))
            return Norm(f) <= 1e-9 * (1 + Norm(x));
    }
    return Norm(f) <= 1e-9 * (1 + Norm(x));
}

} // namespace

bool PolishEquilibrium(int kind, const CStepParams& p, double (&x)[3]) {
    return WithKind(kind, [&](auto k) { return Newton<decltype(k)::value>(p, x); });
}

const char* EquilibriumTypeName(EEquilibriumType t) {
    static const char* const names[] = {"stable node",   "stable focus",  "saddle",
                                        "saddle-focus",  "unstable node", "unstable focus",
                                        "non-hyperbolic"};
    return names[static_cast<int>(t)];
}

void Eigenvalues3(const double (&J)[3][3], cplx (&out)[3]) {
    // Characteristic polynomial x^3 + c2 x^2 + c1 x + c0.
    const double tr = J[0][0] + J[1][1] + J[2][2];
    const double minors = J[0][0] * J[1][1] - J[0][1] * J[1][0] + J[0][0] * J[2][2] -
                          J[0][2] * J[2][0] + J[1][1] * J[2][2] - J[1][2] * J[2][1];
    const double det = J[0][0] * (J[1][1] * J[2][2] - J[1][2] * J[2][1]) -
                       J[0][1] * (J[1][0] * J[2][2] - J[1][2] * J[2][0]) +
                       J[0][2] * (J[1][0] * J[2][1] - J[1][1] * J[2][0]);
    const double c2 = -tr, c1 = minors, c0 = -det;
    // Depressed cubic t^3 + P t + Q with x = t - c2 / 3.
    const double shift = c2 / 3;
    const double P = c1 - c2 * c2 / 3;
    const double Q = 2 * c2 * c2 * c2 / 27 - c2 * c1 / 3 + c0;
    const double D = Q * Q / 4 + P * P * P / 27;
    double real;
    if (D > 0) {
        const double s = std::sqrt(D);
        real = std::cbrt(-Q / 2 + s) + std::cbrt(-Q / 2 - s) - shift;
    } else {
        // Three real roots: the one of largest size, deflated, leaves the best quadratic.
        const double m = 2 * std::sqrt(std::max(0.0, -P / 3));
        const double arg = m > 0 ? std::clamp(3 * Q / (P * m), -1.0, 1.0) : 0.0;
        const double theta = std::acos(arg) / 3;
        real = m * std::cos(theta) - shift;
        for (int k = 1; k < 3; ++k) {
            const double r = m * std::cos(theta - 2 * M_PI * k / 3) - shift;
            if (std::fabs(r) > std::fabs(real))
                real = r;
        }
    }
    real = Polish(real, c2, c1, c0);
    cplx r1, r2;
    Quadratic(c2 + real, c1 + real * (c2 + real), r1, r2);
    if (r1.imag() == 0)
        r1 = Polish(r1.real(), c2, c1, c0), r2 = Polish(r2.real(), c2, c1, c0);
    out[0] = real, out[1] = r1, out[2] = r2;
    std::sort(out, out + 3, [](const cplx& a, const cplx& b) {
        return a.real() != b.real() ? a.real() > b.real() : a.imag() > b.imag();
    });
}

EEquilibriumType ClassifyEigenvalues(const cplx (&eigen)[3]) {
    double size = 0;
    for (const cplx& e : eigen)
        size = std::max(size, std::abs(e));
    const double tiny = 1e-9 * std::max(1.0, size);
    int up = 0, down = 0;
    bool complex = false;
    for (const cplx& e : eigen) {
        if (std::fabs(e.real()) <= tiny)
            return EEquilibriumType::NonHyperbolic;
        (e.real() > 0 ? up : down)++;
        complex = complex || std::fabs(e.imag()) > tiny;
    }
    if (down == 3)
        return complex ? EEquilibriumType::StableFocus : EEquilibriumType::StableNode;
    if (up == 3)
        return complex ? EEquilibriumType::UnstableFocus : EEquilibriumType::UnstableNode;
    return complex ? EEquilibriumType::SaddleFocus : EEquilibriumType::Saddle;
}

std::vector<CEquilibrium> FindEquilibria(int kind, const CStepParams& p, const double (&lo)[3],
                                         const double (&hi)[3], int seedsPerAxis) {
    std::vector<CEquilibrium> found;
    const int n = std::max(1, seedsPerAxis);
    WithKind(kind, [&](auto k) {
        constexpr int K = decltype(k)::value;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                for (int l = 0; l < n; ++l) {
                    const int at[3] = {i, j, l};
                    double x[3];
                    for (int r = 0; r < 3; ++r)
                        x[r] = lo[r] + (hi[r] - lo[r]) * (at[r] + 0.5) / n;
                    if (!Newton<K>(p, x))
                        continue;
                    bool inside = true;
                    for (int r = 0; r < 3; ++r) {
                        const double slack = 1e-9 * std::max(1.0, hi[r] - lo[r]);
                        inside = inside && x[r] >= lo[r] - slack && x[r] <= hi[r] + slack;
                    }
                    if (!inside)
                        continue;
                    const bool seen = std::any_of(found.begin(), found.end(), [&](const auto& e) {
                        const double d[3] = {e.x[0] - x[0], e.x[1] - x[1], e.x[2] - x[2]};
                        return Norm(d) <= 1e-6 * (1 + Norm(x));
                    });
                    if (seen)
                        continue;
                    CEquilibrium e;
                    std::copy(x, x + 3, e.x);
                    double J[3][3];
                    FieldJacobian<K>(p, x, J);
                    Eigenvalues3(J, e.eigen);
                    e.eType = ClassifyEigenvalues(e.eigen);
                    found.push_back(e);
                }
    });
    std::sort(found.begin(), found.end(), [](const CEquilibrium& a, const CEquilibrium& b) {
        return std::lexicographical_compare(a.x, a.x + 3, b.x, b.x + 3);
    });
    return found;
}

} // namespace qel

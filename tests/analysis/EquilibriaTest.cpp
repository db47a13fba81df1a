#include "analysis/Equilibria.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace qel;
using cplx = std::complex<double>;

namespace {

CStepParams Params(double a, double b, double c) {
    CStepParams p;
    p.a = a, p.b = b, p.c = c;
    return p;
}

// S D S^-1 for a block-diagonal D: the eigenvalues are D's, known apart from any solver.
void Similar(const double (&D)[3][3], double (&A)[3][3]) {
    const double S[3][3] = {{2, 1, 0.5}, {-1, 3, 1}, {0.5, -2, 1.5}};
    // The inverse of S by cofactors.
    double det = 0, C[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            C[r][c] = S[(r + 1) % 3][(c + 1) % 3] * S[(r + 2) % 3][(c + 2) % 3] -
                      S[(r + 1) % 3][(c + 2) % 3] * S[(r + 2) % 3][(c + 1) % 3];
    for (int c = 0; c < 3; ++c)
        det += S[0][c] * C[0][c];
    double T[3][3] = {};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            for (int k = 0; k < 3; ++k)
                T[r][c] += S[r][k] * D[k][c];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            A[r][c] = 0;
            for (int k = 0; k < 3; ++k)
                A[r][c] += T[r][k] * C[c][k] / det;
        }
}

void ExpectEigen(const cplx (&got)[3], std::vector<cplx> want, double tol) {
    std::sort(want.begin(), want.end(), [](const cplx& a, const cplx& b) {
        return a.real() != b.real() ? a.real() > b.real() : a.imag() > b.imag();
    });
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(got[k].real(), want[k].real(), tol) << k;
        EXPECT_NEAR(got[k].imag(), want[k].imag(), tol) << k;
    }
}

} // namespace

// Real, complex and repeated eigenvalues of matrices built from them; every type from its
// eigenvalues.
TEST(Equilibria, EigenvaluesAndTypes) {
    struct {
        double D[3][3];
        std::vector<cplx> eigen;
        EEquilibriumType type;
    } const cases[] = {
        {{{-1, 0, 0}, {0, -2, 0}, {0, 0, -5}}, {-1, -2, -5}, EEquilibriumType::StableNode},
        {{{-0.5, 3, 0}, {-3, -0.5, 0}, {0, 0, -4}},
         {{-0.5, 3}, {-0.5, -3}, -4},
         EEquilibriumType::StableFocus},
        {{{2, 0, 0}, {0, -1, 0}, {0, 0, -3}}, {2, -1, -3}, EEquilibriumType::Saddle},
        {{{0.1, 10, 0}, {-10, 0.1, 0}, {0, 0, -13}},
         {{0.1, 10}, {0.1, -10}, -13},
         EEquilibriumType::SaddleFocus},
        {{{1, 0, 0}, {0, 2, 0}, {0, 0, 3}}, {1, 2, 3}, EEquilibriumType::UnstableNode},
        {{{0.3, 1, 0}, {-1, 0.3, 0}, {0, 0, 7}},
         {{0.3, 1}, {0.3, -1}, 7},
         EEquilibriumType::UnstableFocus},
        {{{0, 2, 0}, {-2, 0, 0}, {0, 0, -1}},
         {{0, 2}, {0, -2}, -1},
         EEquilibriumType::NonHyperbolic},
        {{{-2, 0, 0}, {0, -2, 0}, {0, 0, 1}}, {-2, -2, 1}, EEquilibriumType::Saddle},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(EquilibriumTypeName(c.type));
        double A[3][3];
        Similar(c.D, A);
        cplx got[3];
        Eigenvalues3(A, got);
        ExpectEigen(got, c.eigen, 1e-7);
        EXPECT_EQ(ClassifyEigenvalues(got), c.type);
    }
}

// Lorenz: the origin a saddle with eigenvalues -b and (-(c + 1) +- sqrt((c + 1)^2 + 4 c (a - 1)))
// / 2; (+-sqrt(b (a - 1)), +-sqrt(b (a - 1)), a - 1) saddle-foci. Rossler: two equilibria
// x = (c +- sqrt(c^2 - 4 a b)) / 2, y = -x / a, z = x / a, both saddle-foci; only the inner lies
// in the box of the shipped start values. Pickover has none (e / sin(x) is never zero).
TEST(Equilibria, LorenzRosslerAndNone) {
    const double a = 28, b = 8.0 / 3, c = 10;
    const auto lorenz = FindEquilibria(2, Params(a, b, c), {-30, -30, 0}, {30, 30, 60});
    ASSERT_EQ(lorenz.size(), 3u);
    const double q = std::sqrt(b * (a - 1));
    const double want[3][3] = {{-q, -q, a - 1}, {0, 0, 0}, {q, q, a - 1}};
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 3; ++v)
            EXPECT_NEAR(lorenz[k].x[v], want[k][v], 1e-9);
    EXPECT_EQ(lorenz[1].eType, EEquilibriumType::Saddle);
    const double root = std::sqrt((c + 1) * (c + 1) + 4 * c * (a - 1));
    ExpectEigen(lorenz[1].eigen, {(-(c + 1) + root) / 2, -b, (-(c + 1) - root) / 2}, 1e-9);
    EXPECT_EQ(lorenz[0].eType, EEquilibriumType::SaddleFocus);
    EXPECT_EQ(lorenz[2].eType, EEquilibriumType::SaddleFocus);
    // The pair's real part and the real eigenvalue sum to the trace, their product is -det.
    const cplx* e = lorenz[2].eigen;
    EXPECT_NEAR((e[0] + e[1] + e[2]).real(), -(c + 1 + b), 1e-9);
    EXPECT_NEAR((e[0] * e[1] * e[2]).real(), -2 * c * b * (a - 1), 1e-6);

    const double ra = 0.2, rb = 0.2, rc = 5.7;
    const double d = std::sqrt(rc * rc - 4 * ra * rb);
    const auto both = FindEquilibria(4, Params(ra, rb, rc), {-10, -40, -5}, {10, 10, 40});
    ASSERT_EQ(both.size(), 2u);
    for (int k = 0; k < 2; ++k) {
        const double x = (rc + (k ? d : -d)) / 2;
        EXPECT_NEAR(both[k].x[0], x, 1e-9);
        EXPECT_NEAR(both[k].x[1], -x / ra, 1e-9);
        EXPECT_NEAR(both[k].x[2], x / ra, 1e-9);
        EXPECT_EQ(both[k].eType, EEquilibriumType::SaddleFocus);
    }
    EXPECT_EQ(FindEquilibria(4, Params(ra, rb, rc), {-10, -10, -5}, {10, 10, 20}).size(), 1u);
    CStepParams pickover = Params(1.05, 2, -0.23);
    pickover.d = -2.37, pickover.e = 0.06;
    EXPECT_TRUE(FindEquilibria(3, pickover, {1.5, -6, -2.5}, {3.4, -4.7, -1.1}).empty());
}

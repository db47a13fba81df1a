#pragma once
#include "model/Integrator.h"

#include <complex>
#include <vector>

namespace qel {

enum class EEquilibriumType : uint8_t {
    StableNode,
    StableFocus,
    Saddle,
    SaddleFocus,
    UnstableNode,
    UnstableFocus,
    NonHyperbolic // an eigenvalue on the imaginary axis: linearisation does not decide
};

// "stable node", "saddle-focus", ...
const char* EquilibriumTypeName(EEquilibriumType t);

struct CEquilibrium {
    double x[3] = {};
    std::complex<double> eigen[3]; // of the Jacobian there, largest real part first
    EEquilibriumType eType = EEquilibriumType::NonHyperbolic;
    bool Stable() const {
        return eType == EEquilibriumType::StableNode || eType == EEquilibriumType::StableFocus;
    }
};

// The eigenvalues of a real 3 x 3 matrix, largest real part first (a complex pair with the
// positive imaginary part first).
void Eigenvalues3(const double (&J)[3][3], std::complex<double> (&out)[3]);

EEquilibriumType ClassifyEigenvalues(const std::complex<double> (&eigen)[3]);

// Newton's method from x to an equilibrium of the equations; false when it does not converge.
bool PolishEquilibrium(int kind, const CStepParams& p, double (&x)[3]);

// The equilibria of the kind's equations (as an ordinary differential equation) inside the box
// lo..hi: Newton's method from a grid of seeds per axis over the box, points closer than a
// millionth of their size merged; sorted by x, then y, then z.
std::vector<CEquilibrium> FindEquilibria(int kind, const CStepParams& p, const double (&lo)[3],
                                         const double (&hi)[3], int seedsPerAxis = 8);

} // namespace qel

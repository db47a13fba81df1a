#include "model/AttractorKinds.h"

#include <cmath>

void CAttractorHenon::Evaluate(double x0, double y0, double z0, double h, double X, double Y,
                               double Z, double& dx, double& dy, double& dz, double& nx,
                               double& ny, double& nz) const {
    const double a = m_param[0].m_value, b = m_param[1].m_value, c = m_param[2].m_value,
                 d = m_param[3].m_value, e = m_param[4].m_value;
    const double q = Y - X * X;
    dx = (std::cos(Z) * (a * X) - std::sin(Z) * (q * b)) * h;
    dy = (std::sin(Z) * (c * X) + std::cos(Z) * (q * d)) * h;
    dz = ((X + Y) / 5.0 + e) * h;
    nx = dx + x0;
    ny = dy + y0;
    nz = dz + z0;
}

void CAttractorIkeda::Evaluate(double x0, double y0, double z0, double h, double X, double Y,
                               double Z, double& dx, double& dy, double& dz, double& nx,
                               double& ny, double& nz) const {
    const double a = m_param[0].m_value, b = m_param[1].m_value, c = m_param[2].m_value,
                 d = m_param[3].m_value;
    dx = ((std::cos(Z) * X - std::sin(Z) * Y) * b + a) * h;
    dy = ((std::cos(Z) * Y + std::sin(Z) * X) * b) * h;
    dz = (c - d / ((X * X + 1.0) + Y * Y)) * h;
    nx = dx + x0;
    ny = dy + y0;
    nz = dz + z0;
}

void CAttractorLorenz::Evaluate(double x0, double y0, double z0, double h, double X, double Y,
                                double Z, double& dx, double& dy, double& dz, double& nx,
                                double& ny, double& nz) const {
    const double a = m_param[0].m_value, b = m_param[1].m_value, c = m_param[2].m_value;
    dx = ((Y - X) * c) * h;
    dy = ((a * X - X * Z) - Y) * h;
    dz = (X * Y - b * Z) * h;
    nx = dx + x0;
    ny = dy + y0;
    nz = dz + z0;
}

void CAttractorPickover::Evaluate(double x0, double y0, double z0, double h, double X, double Y,
                                  double Z, double& dx, double& dy, double& dz, double& nx,
                                  double& ny, double& nz) const {
    const double a = m_param[0].m_value, b = m_param[1].m_value, c = m_param[2].m_value,
                 d = m_param[3].m_value, e = m_param[4].m_value;
    dx = (std::sin(a * X) - std::cos(b * Y) * Z) * h;
    dy = (std::sin(c * X) * Z - std::cos(d * Y)) * h;
    dz = (e / std::sin(X)) * h;
    nx = dx + x0;
    ny = dy + y0;
    nz = dz + z0;
}

void CAttractorRossler::Evaluate(double x0, double y0, double z0, double h, double X, double Y,
                                 double Z, double& dx, double& dy, double& dz, double& nx,
                                 double& ny, double& nz) const {
    const double a = m_param[0].m_value, b = m_param[1].m_value, c = m_param[2].m_value;
    dx = ((Y + Z) * (-1.0)) * h;
    dy = (a * Y + X) * h;
    dz = ((X - c) * Z + b) * h;
    nx = dx + x0;
    ny = dy + y0;
    nz = dz + z0;
}

void CAttractorSorvan::Evaluate(double x0, double y0, double z0, double h, double X, double Y,
                                double Z, double& dx, double& dy, double& dz, double& nx,
                                double& ny, double& nz) const {
    const double a = m_param[0].m_value, b = m_param[1].m_value, c = m_param[2].m_value,
                 d = m_param[3].m_value, e = m_param[4].m_value, f = m_param[5].m_value,
                 g = m_param[6].m_value;
    // The money equation's sine takes the base point's z0, not Z.
    dx = (std::sin(Z) * (b * Y) + std::cos(Z) * (X - a * Y)) * h;
    dy = (std::cos(Z) * (d * Y) + std::sin(z0) * (c * Y + X)) * h;
    dz = (std::atan((((1 - f) * Y) / (1 - g)) * X) + e * Z) * h;
    nx = dx + x0;
    ny = dy + y0;
    nz = dz + z0;
}

#pragma once
#include "model/Attractor.h"

// The six equation systems. Each increment is its right-hand side times h, the new point the
// increment plus the base point. The expressions keep the order of their operations, since
// results are compared bit for bit.
#define QEL_DECLARE_KIND(Class, Name, Kind)                                                        \
    class Class : public CAttractor {                                                              \
    public:                                                                                        \
        using CAttractor::CAttractor;                                                              \
        const char* GetName() const override { return Name; }                                      \
        int GetKind() const override { return Kind; }                                              \
        void Evaluate(double x0, double y0, double z0, double h, double X, double Y, double Z,     \
                      double& dx, double& dy, double& dz, double& nx, double& ny,                  \
                      double& nz) const override;                                                  \
    };

QEL_DECLARE_KIND(CAttractorHenon, "Henon", 0)
QEL_DECLARE_KIND(CAttractorIkeda, "Ikeda", 1)
QEL_DECLARE_KIND(CAttractorLorenz, "Lorenz", 2)
QEL_DECLARE_KIND(CAttractorPickover, "Pickover", 3)
QEL_DECLARE_KIND(CAttractorRossler, "Rossler", 4)
QEL_DECLARE_KIND(CAttractorSorvan, "Sorvan", 5)

#undef QEL_DECLARE_KIND

#pragma once
#include "model/Attractor.h"
#include "model/KindTable.h"

// The six equation systems. Each increment is its right-hand side times h, the new point the
// increment plus the base point. The expressions keep the order of their operations, since
// results are compared bit for bit.
#define QEL_DECLARE_KIND(Class, Kind)                                                              \
    class Class : public CAttractor {                                                              \
    public:                                                                                        \
        Class() : CAttractor(Kind) {}                                                              \
        const char* GetName() const override { return qel::KindInfo(Kind).szName; }                \
        int GetKind() const override { return Kind; }                                              \
        void Evaluate(double x0, double y0, double z0, double h, double X, double Y, double Z,     \
                      double& dx, double& dy, double& dz, double& nx, double& ny,                  \
                      double& nz) const override;                                                  \
    };

QEL_DECLARE_KIND(CAttractorHenon, 0)
QEL_DECLARE_KIND(CAttractorIkeda, 1)
QEL_DECLARE_KIND(CAttractorLorenz, 2)
QEL_DECLARE_KIND(CAttractorPickover, 3)
QEL_DECLARE_KIND(CAttractorRossler, 4)
QEL_DECLARE_KIND(CAttractorSorvan, 5)

#undef QEL_DECLARE_KIND

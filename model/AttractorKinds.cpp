#include "model/AttractorKinds.h"

#include "model/Integrator.h"

// Each kind's rates live once, in the integration step; Evaluate is the record's own view of
// them for everything that is not a pass.
#define QEL_DEFINE_EVALUATE(Class, Kind)                                                           \
    void Class::Evaluate(double x0, double y0, double z0, double h, double X, double Y, double Z,  \
                         double& dx, double& dy, double& dz, double& nx, double& ny, double& nz)   \
        const {                                                                                    \
        qel::CKindRates<Kind>::Rates(qel::CStepParams::From(*this), z0, h, X, Y, Z, dx, dy, dz);   \
        nx = dx + x0;                                                                              \
        ny = dy + y0;                                                                              \
        nz = dz + z0;                                                                              \
    }

QEL_DEFINE_EVALUATE(CAttractorHenon, 0)
QEL_DEFINE_EVALUATE(CAttractorIkeda, 1)
QEL_DEFINE_EVALUATE(CAttractorLorenz, 2)
QEL_DEFINE_EVALUATE(CAttractorPickover, 3)
QEL_DEFINE_EVALUATE(CAttractorRossler, 4)
QEL_DEFINE_EVALUATE(CAttractorSorvan, 5)

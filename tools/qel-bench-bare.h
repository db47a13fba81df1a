#pragma once
#include <cstdint>

// The floor the passes are measured against: the integration alone, each kind's equations
// written out with the parameters in locals, in the pass's operation order, no projection and
// no drawing. Integrates n steps from (x, y, z), which end as the last point.
void BareIntegrate(int kind, const double params[7], double variation, double& x, double& y,
                   double& z, int64_t n);

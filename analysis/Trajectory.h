#pragma once
#include "model/Attractor.h"

#include <cstdint>
#include <vector>

namespace qel {

struct CPoint3 {
    double x, y, z;
};

// The record's trajectory as a pass draws it: the initial point, then one point per step,
// count steps in all (negative counts as none).
std::vector<CPoint3> CollectTrajectory(const CAttractor& record, int64_t count);

} // namespace qel

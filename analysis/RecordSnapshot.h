#pragma once
#include "model/Attractor.h"

#include <memory>

namespace qel {

// A private copy of what a trajectory depends on (kind, parameters, initial point, step and
// count), so a computation may go on while the window changes or replaces its record.
std::unique_ptr<CAttractor> SnapshotRecord(const CAttractor& record);

} // namespace qel

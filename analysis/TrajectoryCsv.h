#pragma once
#include "model/Attractor.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace qel {

// The trajectory as text: one line per point, step 0 the initial point, the model time as
// step x qel::ModelTimePerStep, every number by platform::FormatCsvNumber ("%.17g" in any
// locale, so it reads back to the same double).

// "step,time,x,y,z"; the economic model names its axes ("x_output,y_money,z_pricing").
std::string TrajectoryCsvHeader(int kind);

// Receives the text in blocks; false when it could not take them (the write ends).
using CsvSink = std::function<bool(const char* text, std::size_t size)>;
// Called now and then with the points written and the total; false cancels.
using CsvProgress = std::function<bool(int64_t done, int64_t total)>;

// Writes the lines of steps first..last (inclusive, within 0..steps) of record's trajectory,
// each behind prefix, without a header. False when the sink failed or progress cancelled.
bool WriteTrajectoryCsv(const CAttractor& record, int64_t steps, int64_t first, int64_t last,
                        const std::string& prefix, const CsvSink& sink,
                        const CsvProgress& progress = {});

// The expected size in bytes of the lines of a whole trajectory, from its first points.
int64_t EstimateTrajectoryCsvBytes(const CAttractor& record, int64_t steps);

} // namespace qel

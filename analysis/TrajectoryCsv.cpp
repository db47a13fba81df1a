#include "analysis/TrajectoryCsv.h"

#include "model/Integrator.h"
#include "model/KindTable.h"
#include "platform/CsvText.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace qel {

std::string TrajectoryCsvHeader(int kind) {
    const char* const* columns = KindInfo(kind).szCsvColumns;
    return std::string("step,time,") + columns[0] + "," + columns[1] + "," + columns[2] + "\n";
}

namespace {
constexpr std::size_t kLineMax = 256;

char* FormatLine(char* out, const std::string& prefix, int64_t step, double stepTime, double x,
                 double y, double z) {
    out = std::copy(prefix.begin(), prefix.end(), out);
    out = std::to_chars(out, out + 24, step).ptr;
    for (double v : {static_cast<double>(step) * stepTime, x, y, z}) {
        *out++ = ',';
        out = platform::FormatCsvNumber(out, v);
    }
    *out++ = '\n';
    return out;
}
} // namespace

bool WriteTrajectoryCsv(const CAttractor& record, int64_t steps, int64_t first, int64_t last,
                        const std::string& prefix, const CsvSink& sink,
                        const CsvProgress& progress) {
    steps = std::max<int64_t>(steps, 0);
    first = std::max<int64_t>(first, 0);
    last = std::min(last, steps);
    if (first > last)
        return true;
    const double stepTime = ModelTimePerStep(record.m_variation.m_value);
    std::vector<char> block(std::size_t(1) << 20);
    const std::size_t lineMax = kLineMax + prefix.size();
    char* at = block.data();
    bool ok = true;
    int64_t i = 0;
    const int64_t total = last - first + 1;
    auto line = [&](double x, double y, double z) {
        if (i >= first) {
            at = FormatLine(at, prefix, i, stepTime, x, y, z);
            if (static_cast<std::size_t>(block.data() + block.size() - at) < lineMax) {
                ok = sink(block.data(), static_cast<std::size_t>(at - block.data()));
                at = block.data();
                if (ok && progress)
                    ok = progress(i - first + 1, total);
            }
        }
        ++i;
        return ok && i <= last;
    };
    double x = record.m_initX.m_value, y = record.m_initY.m_value, z = record.m_initZ.m_value;
    if (line(x, y, z))
        Integrate(record, x, y, z, last, line);
    if (ok && at != block.data())
        ok = sink(block.data(), static_cast<std::size_t>(at - block.data()));
    if (ok && progress)
        ok = progress(total, total);
    return ok;
}

int64_t EstimateTrajectoryCsvBytes(const CAttractor& record, int64_t steps) {
    steps = std::max<int64_t>(steps, 0);
    const int64_t sample = std::min<int64_t>(steps, 999);
    int64_t bytes = 0;
    WriteTrajectoryCsv(record, steps, 0, sample, {}, [&](const char*, std::size_t n) {
        bytes += static_cast<int64_t>(n);
        return true;
    });
    // Later step numbers have more digits than the sample's.
    const int64_t perLine =
        bytes / (sample + 1) +
        std::max<int64_t>(0, static_cast<int64_t>(std::to_string(steps).size()) - 2);
    return perLine * (steps + 1);
}

} // namespace qel

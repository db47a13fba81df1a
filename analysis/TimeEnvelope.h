#pragma once
#include "model/Attractor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qel {

// What one pixel column of a time plot shows: the range of every point that falls in it.
struct CEnvelopeColumn {
    int64_t count = 0; // points in the column; 0 leaves the column empty
    double lo[3] = {}, hi[3] = {};
    int64_t loAt[3] = {}, hiAt[3] = {}; // step of the first minimum and of the first maximum
};

// The trajectory of a record (initial point as step 0, then each step) summarised for time
// plots of any zoom. One pass keeps, per bucket of consecutive steps, the per-axis range and
// the bucket's first point; a column view merges the buckets that lie inside one column and
// integrates again, from a bucket's first point, only the buckets cut by a column edge. So
// the ranges are exact at every zoom, the memory is bounded by the bucket count and not by
// the number of points, and a view costs at most about one bucket of steps per column.
class CTimeEnvelope {
public:
    static constexpr int64_t kDefaultBuckets = 1 << 16;

    // Integrates steps steps of a copy of record. going(points so far), when given, is asked
    // now and then; when it says false the build stops, leaves nothing and returns false.
    bool Build(const CAttractor& record, int64_t steps, int64_t maxBuckets = kDefaultBuckets,
               const std::function<bool(int64_t)>& going = {});

    int64_t Points() const { return m_nPoints; }
    int64_t BucketSize() const { return m_nBucket; }
    const CAttractor* Record() const { return m_pRecord.get(); }

    // The column, of `columns` spread evenly over the steps [lo, hi), that step i falls in;
    // outside 0..columns-1 when i is outside the view.
    static int64_t ColumnOf(int64_t i, double lo, double hi, int columns);
    std::vector<CEnvelopeColumn> Columns(double lo, double hi, int columns) const;

private:
    struct Bucket {
        double start[3];
        double lo[3], hi[3];
        int64_t loAt[3], hiAt[3];
    };
    std::unique_ptr<CAttractor> m_pRecord;
    int64_t m_nPoints = 0;
    int64_t m_nBucket = 1;
    std::vector<Bucket> m_buckets;
};

} // namespace qel

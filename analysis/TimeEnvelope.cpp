#include "analysis/TimeEnvelope.h"

#include "analysis/RecordSnapshot.h"
#include "model/Integrator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qel {

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();

template <class Range> void StartRange(Range& r) {
    for (int a = 0; a < 3; ++a) {
        r.lo[a] = kInf;
        r.hi[a] = -kInf;
        r.loAt[a] = r.hiAt[a] = -1;
    }
}

// Strict comparisons keep the first extreme; a NaN never widens a range.
template <class Range> void AddPoint(Range& r, int64_t i, const double (&v)[3]) {
    for (int a = 0; a < 3; ++a) {
        if (std::isnan(v[a]))
            continue;
        if (r.loAt[a] < 0 || v[a] < r.lo[a]) {
            r.lo[a] = v[a];
            r.loAt[a] = i;
        }
        if (r.hiAt[a] < 0 || v[a] > r.hi[a]) {
            r.hi[a] = v[a];
            r.hiAt[a] = i;
        }
    }
}
} // namespace

bool CTimeEnvelope::Build(const CAttractor& record, int64_t steps, int64_t maxBuckets,
                          const std::function<bool(int64_t)>& going) {
    m_buckets.clear();
    m_nPoints = 0;
    m_pRecord = SnapshotRecord(record);
    if (!m_pRecord)
        return false;
    const int64_t points = std::max<int64_t>(steps, 0) + 1;
    maxBuckets = std::max<int64_t>(maxBuckets, 1);
    m_nBucket = (points + maxBuckets - 1) / maxBuckets;
    m_buckets.resize(static_cast<size_t>((points + m_nBucket - 1) / m_nBucket));

    double v[3] = {m_pRecord->m_initX.m_value, m_pRecord->m_initY.m_value,
                   m_pRecord->m_initZ.m_value};
    Bucket* b = m_buckets.data();
    int64_t i = 0, left = 0; // left: points still to go into *b
    auto add = [&] {
        if (left == 0) {
            if (i > 0) {
                if (going && !going(i))
                    return false;
                ++b;
            }
            StartRange(*b);
            std::copy(v, v + 3, b->start);
            left = m_nBucket;
        }
        AddPoint(*b, i, v);
        --left;
        ++i;
        return true;
    };
    add();
    Integrate(*m_pRecord, v[0], v[1], v[2], points - 1, [&](double X, double Y, double Z) {
        v[0] = X;
        v[1] = Y;
        v[2] = Z;
        return add();
    });
    if (i < points) {
        m_buckets.clear();
        return false;
    }
    m_nPoints = points;
    return true;
}

int64_t CTimeEnvelope::ColumnOf(int64_t i, double lo, double hi, int columns) {
    const double c = std::floor((static_cast<double>(i) - lo) * (columns / (hi - lo)));
    if (!(c > -1e18))
        return -1;
    return c < 1e18 ? static_cast<int64_t>(c) : std::numeric_limits<int64_t>::max();
}

std::vector<CEnvelopeColumn> CTimeEnvelope::Columns(double lo, double hi, int columns) const {
    std::vector<CEnvelopeColumn> out(static_cast<size_t>(std::max(columns, 0)));
    if (columns <= 0 || !(hi > lo) || m_nPoints == 0 || !std::isfinite(lo) || !std::isfinite(hi))
        return out;
    for (CEnvelopeColumn& c : out)
        StartRange(c);
    // The first and the last point inside the view; the column is monotonic in the step.
    int64_t first = static_cast<int64_t>(std::clamp(std::ceil(lo), 0.0, double(m_nPoints)));
    int64_t last = static_cast<int64_t>(std::clamp(std::floor(hi), -1.0, double(m_nPoints - 1)));
    while (first <= last && ColumnOf(first, lo, hi, columns) < 0)
        ++first;
    while (last >= first && ColumnOf(last, lo, hi, columns) >= columns)
        --last;
    if (first > last)
        return out;
    auto merge = [&](CEnvelopeColumn& c, const double(&l)[3], const int64_t(&la)[3],
                     const double(&h)[3], const int64_t(&ha)[3]) {
        for (int a = 0; a < 3; ++a) {
            if (la[a] >= 0 && (c.loAt[a] < 0 || l[a] < c.lo[a])) {
                c.lo[a] = l[a];
                c.loAt[a] = la[a];
            }
            if (ha[a] >= 0 && (c.hiAt[a] < 0 || h[a] > c.hi[a])) {
                c.hi[a] = h[a];
                c.hiAt[a] = ha[a];
            }
        }
    };
    for (int64_t k = first / m_nBucket; k <= last / m_nBucket; ++k) {
        const Bucket& b = m_buckets[static_cast<size_t>(k)];
        const int64_t begin = k * m_nBucket;
        const int64_t end = std::min(begin + m_nBucket, m_nPoints) - 1; // inclusive
        const int64_t from = std::max(begin, first), to = std::min(end, last);
        const int64_t col = ColumnOf(from, lo, hi, columns);
        if (from == begin && to == end && col == ColumnOf(to, lo, hi, columns)) {
            CEnvelopeColumn& c = out[static_cast<size_t>(col)];
            c.count += end - begin + 1;
            merge(c, b.lo, b.loAt, b.hi, b.hiAt);
            continue;
        }
        // A column edge cuts this bucket (or the view does): its points again, one by one.
        double v[3] = {b.start[0], b.start[1], b.start[2]};
        int64_t i = begin;
        auto add = [&] {
            if (i >= from) {
                CEnvelopeColumn& c = out[static_cast<size_t>(ColumnOf(i, lo, hi, columns))];
                ++c.count;
                AddPoint(c, i, v);
            }
            ++i;
        };
        add();
        Integrate(*m_pRecord, v[0], v[1], v[2], to - begin, [&](double X, double Y, double Z) {
            v[0] = X;
            v[1] = Y;
            v[2] = Z;
            add();
        });
    }
    return out;
}

} // namespace qel

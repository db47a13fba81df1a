#pragma once
#include <algorithm>
#include <cmath>
#include <limits>

namespace qel {

// How every exponent is measured, on one core or on SIMD lanes.
inline constexpr int kRenormEvery = 8;        // accepted steps between re-orthonormalisations
inline constexpr double kAlignTime = 20;      // tangent vectors turn into place before measuring
inline constexpr double kFirstStep = 0.01;    // the adaptive pair's first try, from any point
inline constexpr double kStepsPerTime = 2000; // beyond this many steps per unit time: too stiff

// Batch means of the logarithmic growth: at most 64 batches, merged in pairs (and their
// length doubled) when full, so that the standard error is taken over batches long against
// the correlation time and memory stays fixed however long the run.
template <int M> class CBatches {
public:
    static constexpr int kMax = 64, kMin = 32;

    void Add(const double (&logs)[M], double dt) {
        for (int m = 0; m < M; ++m) {
            m_cur[m] += logs[m];
            m_total[m] += logs[m];
        }
        m_curTime += dt;
        m_totalTime += dt;
        if (m_curTime < m_len)
            return;
        for (int m = 0; m < M; ++m)
            m_sum[m_n][m] = m_cur[m], m_cur[m] = 0;
        m_time[m_n++] = m_curTime;
        m_curTime = 0;
        if (m_n == kMax) {
            for (int i = 0; i < kMax / 2; ++i) {
                for (int m = 0; m < M; ++m)
                    m_sum[i][m] = m_sum[2 * i][m] + m_sum[2 * i + 1][m];
                m_time[i] = m_time[2 * i] + m_time[2 * i + 1];
            }
            m_n = kMax / 2;
            m_len *= 2;
        }
    }
    bool Enough() const { return m_n >= kMin; }
    double Time() const { return m_totalTime; }
    double Exponent(int m) const {
        return m_totalTime > 0 ? m_total[m] / m_totalTime
                               : std::numeric_limits<double>::quiet_NaN();
    }
    // Standard error of the mean of the batch means. The batches, a 32nd to a 64th of the run
    // each, are long against the correlation time; what remains correlated (the bounded wobble
    // of a vector's length about its growth, which cancels between neighbours) makes this
    // error larger than the true one, never smaller.
    double Error(int m) const {
        if (m_n < 2)
            return std::numeric_limits<double>::infinity();
        double mean = 0;
        for (int i = 0; i < m_n; ++i)
            mean += m_sum[i][m] / m_time[i];
        mean /= m_n;
        double var = 0;
        for (int i = 0; i < m_n; ++i) {
            const double d = m_sum[i][m] / m_time[i] - mean;
            var += d * d;
        }
        return std::sqrt(var / (m_n - 1) / m_n);
    }
    double MaxError() const {
        double e = 0;
        for (int m = 0; m < M; ++m)
            e = std::max(e, Error(m));
        return e;
    }

private:
    double m_len = 1.0; // model time per batch
    int m_n = 0;
    double m_sum[kMax][M] = {}, m_time[kMax] = {};
    double m_cur[M] = {}, m_curTime = 0, m_total[M] = {}, m_totalTime = 0;
};

} // namespace qel

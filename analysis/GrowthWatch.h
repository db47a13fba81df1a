#pragma once
#include "analysis/Lyapunov.h"

#include <algorithm>
#include <cmath>

namespace qel {

// Tells unbounded growth from a bounded attractor by the size of the state (phases left out)
// per window of model time. Windows start at one time unit and double (merged in pairs) as the
// run grows, so slow and oscillating growth are seen too. Explosive:
// - a size a million times the start's;
// - fast growth: a new largest size in each of the last 16 windows, ten times the largest of
//   the first half of the run;
// - slow growth, after 1000 time units: a new largest size in each of the last 16 windows, and
//   the largest size at least half as large again over the second half of the run as over the
//   first, and over the second quarter as over the first.
// A start that spirals out onto its attractor grows fast only until it is there, and slowly
// only ever less, which the halves and quarters of the run then show.
class CGrowthWatch {
public:
    CGrowthWatch(int kind, const CStepParams& p, const double (&s)[3]) {
        for (int v = 0; v < 3; ++v)
            m_bPhase[v] = IsPhaseVariable(kind, p, v);
        m_dScale = std::max(1.0, Size(s));
    }
    EOutcome Look(const double (&s)[3], double t) {
        if (!std::isfinite(s[0]) || !std::isfinite(s[1]) || !std::isfinite(s[2]))
            return EOutcome::Diverged;
        const double n = Size(s);
        if (n > 1e6 * m_dScale)
            return EOutcome::Explosive;
        m_dCur = std::max(m_dCur, n);
        if (t - m_dStart < m_dLen)
            return EOutcome::Value;
        m_max[m_n++] = m_dCur;
        m_dCur = 0;
        m_dStart = t;
        if (m_n == kMax) {
            for (int i = 0; i < kMax / 2; ++i)
                m_max[i] = std::max(m_max[2 * i], m_max[2 * i + 1]);
            m_n = kMax / 2;
            m_dLen *= 2;
        }
        if (Rising() < 16)
            return EOutcome::Value;
        const double half = Largest(0, m_n / 2), quarter = Largest(0, m_n / 4);
        const double second = Largest(m_n / 4, m_n / 2);
        if (n >= 10 * half)
            return EOutcome::Explosive;
        if (t >= 1000 && n >= 1.5 * half && second >= 1.5 * quarter)
            return EOutcome::Explosive;
        return EOutcome::Value;
    }
    // Well past the start's size: a step size that collapses there belongs to the growth.
    bool Grown(const double (&s)[3]) const { return Size(s) >= 10 * m_dScale; }

private:
    static constexpr int kMax = 64;
    double Size(const double (&s)[3]) const {
        double q = 0;
        for (int v = 0; v < 3; ++v)
            if (!m_bPhase[v])
                q += s[v] * s[v];
        return std::sqrt(q);
    }
    // The largest size over windows from..to-1, and at least the start's.
    double Largest(int from, int to) const {
        double m = m_dScale;
        for (int i = from; i < to; ++i)
            m = std::max(m, m_max[i]);
        return m;
    }
    // How many of the last windows each set a new largest size.
    int Rising() const {
        int k = 1;
        while (k < m_n && m_max[m_n - k] > m_max[m_n - k - 1])
            ++k;
        return k;
    }
    bool m_bPhase[3] = {};
    double m_dScale = 1, m_dLen = 1, m_dStart = 0, m_dCur = 0;
    double m_max[kMax] = {};
    int m_n = 0;
};

} // namespace qel

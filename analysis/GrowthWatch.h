#pragma once
#include "analysis/Lyapunov.h"

#include <algorithm>
#include <cmath>

namespace qel {

// Tells unbounded growth from a bounded attractor by the size of the state (phases left out)
// per window of model time. Windows start at one time unit and double (merged in pairs) as the
// run grows, so slow and oscillating growth are seen too. Explosive: a size a million times the
// start's; or a new largest size in each of the last 16 windows with the size ten times the
// largest of the first half of the run; or a new largest size in each of the last 32 windows
// (half of the run or more) with the size half as large again as in the first half. A start
// that spirals out onto its attractor grows only until it is there, which the first half of the
// run then holds.
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
        const int rising = Rising();
        double firstHalf = m_dScale;
        for (int i = 0; i < m_n / 2; ++i)
            firstHalf = std::max(firstHalf, m_max[i]);
        if (rising >= 16 && n >= 10 * firstHalf)
            return EOutcome::Explosive;
        if (m_dLen > 1 && rising >= 32 && n >= 1.5 * firstHalf)
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

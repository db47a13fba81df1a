#pragma once
#include <cstdint>

// A bounded parameter: a value with the limits it may take, read from the settings file.
class PARAMETER {
public:
    int32_t m_nUpperMode = 2; // 2: the upper limit itself is allowed
    int32_t m_nLowerMode = 2; // 2: the lower limit itself is allowed
    uint8_t m_bInUse = 0;
    uint8_t m_bModified = 0;
};

template <typename T> class TYPED_PARAM : public PARAMETER {
public:
    void Set(T value, T lower, T upper) {
        m_value = value;
        m_stored = value;
        m_lower = lower;
        m_upper = upper;
        m_bInUse = 1;
    }
    bool IsWithinLimits(T v) const {
        bool upperOk = m_nUpperMode == 2 ? v <= m_upper : v < m_upper;
        bool lowerOk = m_nLowerMode == 2 ? v >= m_lower : v > m_lower;
        return upperOk && lowerOk;
    }

    T m_value = 0;  // the value the engine uses
    T m_stored = 0; // the value given to the last Set, that is, as loaded
    T m_lower = 0;
    T m_upper = 0;
};

class long_PARAM : public TYPED_PARAM<int32_t> {};
class double_PARAM : public TYPED_PARAM<double> {};

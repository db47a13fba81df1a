#include "CRuntime.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace platform {

int32_t Atoi(const char* s) {
    if (!s)
        return 0;
    errno = 0;
    long long v = std::strtoll(s, nullptr, 10);
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

double Atof(const char* s) {
    return s ? std::strtod(s, nullptr) : 0.0;
}

uint32_t AtoUnsigned(const char* s, bool* ok) {
    if (ok)
        *ok = false;
    if (!s)
        return 0;
    while (*s == ' ' || *s == '\t')
        ++s;
    if (*s < '0' || *s > '9')
        return 0;
    unsigned long long v = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        v = v * 10 + static_cast<unsigned>(*s - '0');
        if (v > UINT32_MAX)
            v = UINT32_MAX + 1ull;
    }
    while (*s == ' ' || *s == '\t')
        ++s;
    if (*s != '\0' || v > UINT32_MAX)
        return 0;
    if (ok)
        *ok = true;
    return static_cast<uint32_t>(v);
}

} // namespace platform

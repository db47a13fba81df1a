#pragma once
#include <cstdint>

// atoi and atof as the system reads numbers: leading blanks skipped, conversion stops at the
// first unusable character, no number gives 0. Unlike the C atoi, a number beyond the 32-bit
// range saturates instead of being undefined.
namespace platform {

int32_t Atoi(const char* s);
double Atof(const char* s);
// GetDlgItemInt without sign: digits only (after blanks), 0 when there are none; values beyond
// 32 bits saturate to 0xFFFFFFFF.
uint32_t AtoUnsigned(const char* s, bool* ok = nullptr);

} // namespace platform

#include "model/VectorState.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

namespace {
__attribute__((target("avx"))) void ZeroUpper() {
    _mm256_zeroupper();
}
} // namespace

void qel::CleanVectorState() {
    // vzeroupper exists only with AVX.
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        ZeroUpper();
}
#else
void qel::CleanVectorState() {}
#endif

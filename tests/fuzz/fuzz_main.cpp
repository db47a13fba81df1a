#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

// One libFuzzer entry for every target; the build names the target in QEL_FUZZ_TARGET.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = fuzz::QEL_FUZZ_TARGET(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}

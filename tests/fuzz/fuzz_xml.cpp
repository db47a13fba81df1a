#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string fault = fuzz::Xml(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "invariant broken: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}

#include "platform/Memory.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace platform {

namespace {

// A "Key:   N kB" line of a /proc file, in bytes; nothing when it is not there.
std::uint64_t ProcKilobytes(const char* file, const std::string& key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::stoull(line.substr(key.size() + 1)) * 1024;
    return UINT64_MAX;
}

std::uint64_t LeftUnder(int resource, std::uint64_t used) {
    struct rlimit limit {};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || used == UINT64_MAX)
        return UINT64_MAX;
    return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MB";
}

} // namespace

std::uint64_t AvailableMemory() {
    return std::min({ProcKilobytes("/proc/meminfo", "MemAvailable"),
                     LeftUnder(RLIMIT_AS, ProcKilobytes("/proc/self/status", "VmSize")),
                     LeftUnder(RLIMIT_DATA, ProcKilobytes("/proc/self/status", "VmData"))});
}

std::string MemoryRefusal(std::uint64_t bytes, const std::string& what) {
    const std::uint64_t available = AvailableMemory();
    if (bytes <= available)
        return {};
    return what + " needs " + Megabytes(bytes) + ", more than the " + Megabytes(available) +
           " this machine has available";
}

} // namespace platform

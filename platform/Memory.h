#pragma once
#include <cstdint>
#include <string>

namespace platform {

// The bytes this process can still have: what the system holds available (MemAvailable, which
// counts what the caches would give back) and what its address-space and data limits leave.
std::uint64_t AvailableMemory();

// Empty when `bytes` for `what` can be had; else why not: "WHAT needs N MB,
// more than the M MB this machine has available".
std::string MemoryRefusal(std::uint64_t bytes, const std::string& what);

} // namespace platform

// The process's resident memory, for the soak's leak check.
#pragma once

#include <cstddef>
#include <fstream>
#include <unistd.h>

namespace vorn::soak {

// AddressSanitizer keeps freed blocks in quarantine, so resident memory grows
// without a leak there; its own leak check covers that build instead.
#ifdef __SANITIZE_ADDRESS__
inline constexpr bool kResidentMemoryMeaningful = false;
#else
inline constexpr bool kResidentMemoryMeaningful = true;
#endif

inline std::size_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t total = 0;
    std::size_t resident = 0;
    statm >> total >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

} // namespace vorn::soak

#include "core/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

namespace vornscope {

void adviseHugePages(const void* data, std::size_t bytes)
{
    constexpr std::uintptr_t kHugePage = std::uintptr_t {2} << 20;
    const auto first = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    const auto last = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHugePage - 1);
    // Only a hint: a kernel without transparent huge pages refuses it, and
    // the buffer works as before.
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace vornscope

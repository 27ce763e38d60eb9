#include "core/group_ids.h"

#include <atomic>

namespace vornscope {

int nextGroupId()
{
    static std::atomic<int> counter {1};
    return counter.fetch_add(1);
}

} // namespace vornscope

#include "exports/group_table.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vorn::groups {
namespace {
std::array<std::shared_ptr<VornGroup>, kLastId + 1> slots;
}

bool validId(int id)
{
    return id >= kFirstId && id <= kLastId;
}

std::shared_ptr<VornGroup> find(int id)
{
    return validId(id) ? slots[static_cast<std::size_t>(id)] : nullptr;
}

VornGroup& create(int id)
{
    auto& slot = slots[static_cast<std::size_t>(id)];
    slot = std::make_shared<VornGroup>(id);
    return *slot;
}

std::shared_ptr<VornGroup> release(int id)
{
    if (!validId(id))
        return nullptr;
    return std::exchange(slots[static_cast<std::size_t>(id)], nullptr);
}

bool empty()
{
    return std::ranges::all_of(slots, [](const auto& slot) { return slot == nullptr; });
}

} // namespace vorn::groups

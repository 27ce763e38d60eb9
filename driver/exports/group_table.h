// The 257 slots (identifiers 0..256) of the process.
//
// Slots hold shared pointers: a call that is running on a group keeps its
// record alive even if a pump hook or callback shuts the group down in the
// middle of the call's wait; the call then finds the transport closed.
#pragma once

#include "group/group.h"

#include <memory>

namespace vorn::groups {

constexpr int kFirstId = 0;
constexpr int kLastId = VORN_MAX_GROUP;

bool validId(int id);
// The group in slot id, or null (also for ids out of range).
std::shared_ptr<VornGroup> find(int id);
// Places a fresh zeroed record in the empty slot id and returns it.
VornGroup& create(int id);
// Empties the slot; returns what it held.
std::shared_ptr<VornGroup> release(int id);
bool empty();

} // namespace vorn::groups

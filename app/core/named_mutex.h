// Process-local named mutexes. A view creates "MutexSyncHwnd%d" and every
// thread that talks to the units for it opens the same name. Like the
// platform's named mutexes they are recursive for the owning thread, so a
// command may lock again inside a routine that locks.
#pragma once

#include <memory>
#include <mutex>
#include <string>

namespace vornscope {

using NamedMutex = std::shared_ptr<std::recursive_mutex>;

// Creates the mutex on first use; it lives while anyone holds it.
NamedMutex openNamedMutex(const std::string& name);
std::string viewMutexName(int viewHandle);

} // namespace vornscope

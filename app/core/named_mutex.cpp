#include "core/named_mutex.h"

#include <map>

namespace vornscope {

NamedMutex openNamedMutex(const std::string& name)
{
    static std::mutex registryLock;
    static std::map<std::string, std::weak_ptr<std::recursive_mutex>> registry;
    std::lock_guard lock(registryLock);
    if (auto existing = registry[name].lock())
        return existing;
    auto created = std::make_shared<std::recursive_mutex>();
    registry[name] = created;
    return created;
}

std::string viewMutexName(int viewHandle)
{
    return "MutexSyncHwnd" + std::to_string(viewHandle);
}

} // namespace vornscope

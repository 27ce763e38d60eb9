// Where a simulated unit reports what it saw and refused.
#pragma once

#include <functional>
#include <string>

namespace vorn::sim {

using Log = std::function<void(const std::string&)>;

} // namespace vorn::sim

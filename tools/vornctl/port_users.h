// Which other programs have a device open, from /proc: "minicom (pid 812)".
#pragma once

#include <string>

namespace vornctl {

// Empty when no other process of those this user may see has it open.
std::string portUsers(const std::string& path);

} // namespace vornctl

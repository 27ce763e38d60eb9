// The path the library opens for COM<n>: $VORN_COM<n> when set, else /dev/ttyS<n-1>.
#pragma once

#include <string>

namespace vornctl {

std::string comPortPath(unsigned port);

} // namespace vornctl

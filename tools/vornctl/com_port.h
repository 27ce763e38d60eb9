// Where COM<n> is on this host: $VORN_COM<n> when set, else /dev/ttyS<n-1>.
#pragma once

#include <string>

namespace vornctl {

std::string comPortPath(unsigned port);

} // namespace vornctl

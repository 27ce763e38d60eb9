#include "com_port.h"

#include <cstdlib>

namespace vornctl {

std::string comPortPath(unsigned port)
{
    const std::string variable = "VORN_COM" + std::to_string(port);
    const char* fromEnvironment = std::getenv(variable.c_str());
    if (fromEnvironment != nullptr && *fromEnvironment != '\0')
        return fromEnvironment;
    return "/dev/ttyS" + std::to_string(port == 0 ? 0 : port - 1);
}

} // namespace vornctl

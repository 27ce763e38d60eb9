#include "commands.h"
#include "exit_codes.h"

#include <cstdio>

namespace vornctl {

int runDemo(const Options&)
{
    std::printf("vornctl demo: the simulator is not part of this build yet.\n");
    return kExitOk;
}

} // namespace vornctl

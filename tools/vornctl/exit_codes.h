// Exit statuses a script can tell apart.
#pragma once

namespace vornctl {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1,      // a library call failed after the group was woken up
    kExitUsage = 2,        // bad command line
    kExitNoGroup = 3,      // the group could not be woken up
    kExitInterrupted = 130 // Ctrl-C (or SIGTERM) before a bounded job was done
};

} // namespace vornctl

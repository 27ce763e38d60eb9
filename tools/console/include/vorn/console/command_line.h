// The command line of the console tools: --help and --version are their only options.
#pragma once

#include <optional>

namespace vorn::console {

// Answers --help and --version, and refuses anything else with the usage text.
// Returns the exit status when the program should end now, nothing when it
// should go on with no arguments.
std::optional<int> answerCommandLine(int argc, char** argv, const char* program, const char* version,
                                     const char* usage);

} // namespace vorn::console

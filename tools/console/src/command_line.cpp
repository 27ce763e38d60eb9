#include "vorn/console/command_line.h"

#include <cstring>
#include <iostream>

namespace vorn::console {

std::optional<int> answerCommandLine(int argc, char** argv, const char* program, const char* version, const char* usage)
{
    const bool known = argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "--version") == 0);
    if (known && argc > 2) {
        std::cerr << program << ": " << argv[1] << " takes no arguments (\"" << argv[2] << "\")\n" << usage;
        return 2;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::cout << usage;
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << program << " " << version << "\n";
        return 0;
    }
    if (argc > 1) {
        std::cerr << program << ": unknown option " << argv[1] << "\n" << usage;
        return 2;
    }
    return std::nullopt;
}

} // namespace vorn::console

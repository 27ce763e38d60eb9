// vorn-igtl's command line: its own options for the listening side, and
// every connection and setting option of vornctl for the group.
#pragma once

#include "igtl_server.h"
#include "options.h"

#include <optional>
#include <string>
#include <vector>

namespace vornigtl {

struct ServerOptions {
    bool help = false;
    bool version = false;
    vornctl::Options group; // connection, settings, --count/--duration, --quiet
    ServerSettings server;
};

struct ServerParse {
    std::optional<ServerOptions> options;
    std::string error;
};

// Reads the file named by --config first, so the command line overrides it.
ServerParse parseServerArguments(const std::vector<std::string>& args);

void printServerUsage(std::FILE* out);

} // namespace vornigtl

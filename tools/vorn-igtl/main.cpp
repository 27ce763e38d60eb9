// vorn-igtl: streams a group of Vorn units to OpenIGTLink clients.
#include "exit_codes.h"
#include "server_log.h"
#include "server_options.h"
#include "stop_request.h"
#include "tracker_stream.h"

#include <vorn/vorn.h>

#include <cstdio>

int main(int argc, char** argv)
{
    using namespace vornigtl;
    const ServerParse parsed = parseServerArguments({argv + 1, argv + argc});
    if (!parsed.options) {
        std::fprintf(stderr, "vorn-igtl: %s\n", parsed.error.c_str());
        return vornctl::kExitUsage;
    }
    const ServerOptions& options = *parsed.options;
    if (options.help) {
        printServerUsage(stdout);
        return vornctl::kExitOk;
    }
    if (options.version) {
        char version[5];
        vornGetDllVersion(version);
        std::printf("vorn-igtl, driver library version %s\n", version);
        return vornctl::kExitOk;
    }
    setLogQuiet(options.group.quiet);
    vornctl::installStopHandlers();
    IgtlServer server(options.server);
    std::string error;
    if (!server.start(error)) {
        logError(error);
        return vornctl::kExitFailure;
    }
    logLine("listening on " + options.server.address + " port " + std::to_string(server.port()));
    const int status = streamToClients(options.group, server);
    server.stop(500); // lets clients take the last frames and the shut-down STATUS
    logLine("stopped");
    return status;
}

// vornctl: command-line client of the Vorn driver library.
#include <vorn/vorn.h>

#include <cstdio>
#include <cstring>

namespace {

int printVersion()
{
    char version[5];
    vornGetDllVersion(version);
    std::printf("vornctl, driver library version %s\n", version);
    return 0;
}

int runDemo()
{
    printVersion();
    std::printf("libvorn drives Vorn six-degree-of-freedom magnetic trackers over RS232,\n"
                "ISA boards and the networked controller: wake a group of units, configure\n"
                "them, and take readings, frames or a stream of frames.\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const char* command = argc > 1 ? argv[1] : "demo";
    if (std::strcmp(command, "--version") == 0)
        return printVersion();
    if (std::strcmp(command, "demo") == 0)
        return runDemo();
    std::fprintf(stderr, "vornctl: unknown command '%s'\n", command);
    return 2;
}

#include "server_log.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace vornigtl {

namespace {
std::mutex gLogMutex;
std::atomic<bool> gQuiet {false};

void write(const std::string& text)
{
    const std::lock_guard lock(gLogMutex);
    std::fprintf(stderr, "vorn-igtl: %s\n", text.c_str());
    std::fflush(stderr);
}
} // namespace

void setLogQuiet(bool quiet)
{
    gQuiet = quiet;
}

void logLine(const std::string& text)
{
    if (!gQuiet)
        write(text);
}

void logError(const std::string& text)
{
    write(text);
}

} // namespace vornigtl

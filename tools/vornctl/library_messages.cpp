#include "library_messages.h"

#include "stop_request.h"

#include <vorn/vorn.h>
#include <vorn/vorn_host.h>

#include <cstdio>
#include <mutex>
#include <utility>

namespace vornctl {

namespace {

std::mutex gMutex;
std::function<void(const std::string&)> gShow;
std::string gLast;

void onMessage(const char* message, void*)
{
    const std::string text = readableLibraryMessage(message);
    std::function<void(const std::string&)> show;
    {
        const std::lock_guard lock(gMutex);
        gLast = text;
        show = gShow;
    }
    if (stopRequested())
        return; // the waits that Ctrl-C cancelled fail on purpose
    if (show)
        show(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

} // namespace

void showLibraryMessages(std::function<void(const std::string&)> show)
{
    {
        const std::lock_guard lock(gMutex);
        gShow = std::move(show);
    }
    vornDisplayErrorDialogs(1);
    vornHostSetMessageHandler(&onMessage, nullptr);
}

std::string readableLibraryMessage(std::string message)
{
    for (const char* verb : {"read 1 bytes", "write 1 bytes"}) {
        const std::string wrong = verb;
        if (const auto at = message.find(wrong); at != std::string::npos)
            message.erase(at + wrong.size() - 1, 1);
    }
    return message;
}

std::string lastLibraryMessage()
{
    const std::lock_guard lock(gMutex);
    return gLast;
}

} // namespace vornctl

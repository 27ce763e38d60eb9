#include "group/error_reporter.h"

#include <vorn/vorn.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace vorn {
namespace {

std::atomic<int> errorCode {0};
std::atomic<bool> dialogsOn {false};

struct Handler {
    MessageHandler function;
    void* context;
};
std::mutex handlerMutex;
Handler handler {nullptr, nullptr};

void show(char* message)
{
    Handler current {};
    {
        std::lock_guard lock(handlerMutex);
        current = handler;
    }
    if (current.function != nullptr) {
        current.function(message, current.context);
        return;
    }
    // Exactly one line, even if an argument (a server address, say) carried
    // a line break; one write, so that lines of two threads never mix.
    for (char* c = message; *c != '\0'; ++c)
        if (*c == '\n' || *c == '\r')
            *c = ' ';
    std::fprintf(stderr, "%s\n", message);
}

} // namespace

void reportError(const char* format, ...)
{
    errorCode.store(VORN_ERR_FAILED);
    if (!dialogsOn.load())
        return;
    char message[kMaxMessageLength + 1];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    show(message);
}

void setErrorCode(int code)
{
    errorCode.store(code);
}

int takeErrorCode()
{
    return errorCode.exchange(0);
}

void setErrorDialogs(bool on)
{
    dialogsOn.store(on);
}

void setMessageHandler(MessageHandler function, void* context)
{
    std::lock_guard lock(handlerMutex);
    handler = Handler {function, function != nullptr ? context : nullptr};
}

} // namespace vorn

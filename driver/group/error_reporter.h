// The one way the library reports a failure: the error code becomes
// VORN_ERR_FAILED (1) and, when dialogs are on, the formatted message goes to
// the host's message handler, or else as one line to standard error. Failures
// with a specific code (a VORN_ERR_ of vorn.h) overwrite the 1 afterwards with
// setErrorCode().
#pragma once

namespace vorn {

using MessageHandler = void (*)(const char* message, void* context);

// Longest message shown; longer ones are cut.
constexpr int kMaxMessageLength = 1024;

[[gnu::format(printf, 1, 2)]] void reportError(const char* format, ...);
void setErrorCode(int code);
// Returns the last code and resets it to 0.
int takeErrorCode();

void setErrorDialogs(bool on);
void setMessageHandler(MessageHandler handler, void* context);

} // namespace vorn

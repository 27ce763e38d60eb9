// The error contract: code 1 for every message, specific codes win, read
// resets, dialogs off by default, and the standard-error fallback.
#include "frame_fixture.h"

#include "group/error_reporter.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

class ErrorReporting : public FrameTest {};

// Runs `action` with standard error sent to a temporary file; returns what
// was written.
template <typename Action> std::string captureStandardError(Action action)
{
    std::fflush(stderr);
    FILE* file = std::tmpfile();
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(fileno(file), STDERR_FILENO);
    action();
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;)
        text.push_back(static_cast<char>(c));
    std::fclose(file);
    return text;
}

TEST_F(ErrorReporting, CodeIsReadOnceThenZero)
{
    vornGetFrame(300, nullptr);
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_NONE);
}

TEST_F(ErrorReporting, SpecificCodeOverwritesTheMessageCode)
{
    vorn::reportError("Unable to get reading from vorn #%d.", 3);
    vorn::setErrorCode(VORN_ERR_PHASE);
    EXPECT_EQ(lastMessage(), "Unable to get reading from vorn #3.");
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_PHASE);
}

TEST_F(ErrorReporting, DialogsOffShowNothingButStillSetTheCode)
{
    vornDisplayErrorDialogs(0);
    const std::string written = captureStandardError([] { vornStartSingleFrame(-1); });
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(written, "");
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
}

TEST_F(ErrorReporting, WithoutHandlerTheMessageIsOneLineOnStandardError)
{
    vornHostSetMessageHandler(nullptr, nullptr);
    const std::string written = captureStandardError([] { vornGetFrame(257, nullptr); });
    EXPECT_EQ(written, "Illegal group ID passed to vornGetFrame().\n");
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
}

TEST_F(ErrorReporting, StandardErrorGetsOneLineEvenForMultiLineArguments)
{
    vornHostSetMessageHandler(nullptr, nullptr);
    const std::string written = captureStandardError([] { vorn::reportError("at %s, port %u.", "a\nb\r", 7u); });
    EXPECT_EQ(written, "at a b , port 7.\n");
}

TEST_F(ErrorReporting, LongMessagesAreCutNotOverrun)
{
    const std::string huge(5000, 'x');
    vorn::reportError("%s", huge.c_str());
    EXPECT_EQ(lastMessage().size(), static_cast<std::size_t>(vorn::kMaxMessageLength));
}

TEST_F(ErrorReporting, VersionIsFiveBytes)
{
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    vornGetDllVersion(buffer);
    EXPECT_STREQ(buffer, "3.07");
    EXPECT_EQ(buffer[5], '#');
    vornGetDllVersion(nullptr); // harmless
}

} // namespace

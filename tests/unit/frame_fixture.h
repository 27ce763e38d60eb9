// Shared set-up for tests of the driver frame: a clean group table, dialogs
// on, and every reported message captured through the host's handler.
#pragma once

#include "exports/testing.h"

#include <vorn/vorn.h>
#include <vorn/vorn_host.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vorn::testing::shutDownAll();
        vornGetErrorCode();
        vornDisplayErrorDialogs(1);
        vornHostSetMessageHandler(&FrameTest::capture, &messages);
    }

    void TearDown() override
    {
        vornHostSetMessageHandler(nullptr, nullptr);
        vornDisplayErrorDialogs(0);
        vorn::testing::shutDownAll();
        vornGetErrorCode();
    }

    // The one message reported since the last call (empty if none), and
    // checks that there was at most one.
    std::string lastMessage()
    {
        EXPECT_LE(messages.size(), 1u) << "more than one message reported";
        std::string last = messages.empty() ? std::string() : messages.back();
        messages.clear();
        return last;
    }

    std::vector<std::string> messages;

private:
    static void capture(const char* message, void* context)
    {
        static_cast<std::vector<std::string>*>(context)->push_back(message);
    }
};

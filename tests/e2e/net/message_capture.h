// Every message the library reports, captured, and a clean slate after each
// test: all groups shut down, dialogs off, no quit pending.
#pragma once

#include <vorn/vorn.h>
#include <vorn/vorn_host.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class MessageCapture {
public:
    MessageCapture()
    {
        vornDisplayErrorDialogs(1);
        vornHostSetMessageHandler(&MessageCapture::capture, &messages_);
        vornGetErrorCode();
    }
    ~MessageCapture()
    {
        vornHostSetMessageHandler(nullptr, nullptr);
        vornDisplayErrorDialogs(0);
        vornHostTakeQuit();
    }

    std::string take()
    {
        std::string all;
        for (const auto& m : messages_)
            all += m + "\n";
        messages_.clear();
        return all;
    }

private:
    static void capture(const char* message, void* context)
    {
        static_cast<std::vector<std::string>*>(context)->push_back(message);
    }

    std::vector<std::string> messages_;
};

inline void shutDownEveryGroup()
{
    for (int group = 0; group <= VORN_MAX_GROUP; ++group)
        vornShutDown(group);
}

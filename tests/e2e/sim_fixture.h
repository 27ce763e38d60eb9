// A simulator on pseudo-terminals, published as COM<n> to this process, and
// every message the library reports, captured.
#pragma once

#include "simulator.h"

#include <vorn/vorn.h>
#include <vorn/vorn_host.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class SimulatorTest : public ::testing::Test {
protected:
    void startSimulator(vorn::sim::SimulatorConfig config)
    {
        simulator = std::make_unique<vorn::sim::Simulator>(std::move(config));
        simulator->start();
        simulator->exportEnvironment();
        vornDisplayErrorDialogs(1);
        vornHostSetMessageHandler(&SimulatorTest::capture, &messages);
        vornGetErrorCode();
    }

    void TearDown() override
    {
        for (int group = 0; group <= VORN_MAX_GROUP; ++group)
            vornShutDown(group);
        vornHostSetMessageHandler(nullptr, nullptr);
        vornDisplayErrorDialogs(0);
        vornHostTakeQuit();
        if (simulator)
            simulator->stop();
    }

    // What a unit's line received since the last call.
    std::vector<uint8_t> receivedSinceLast(uint8_t lineOwner)
    {
        auto& log = simulator->line(lineOwner).received();
        std::vector<uint8_t> bytes = log.bytes();
        log.clear();
        return bytes;
    }

    // Waits for the line to have received `count` bytes (the simulator logs
    // them on its own thread), then returns everything since the last call.
    std::vector<uint8_t> receivedAfter(uint8_t lineOwner, std::size_t count)
    {
        simulator->line(lineOwner).received().waitFor(count, std::chrono::seconds(2));
        return receivedSinceLast(lineOwner);
    }

    // Nothing arrived: waits a moment to be sure.
    bool receivedNothing(uint8_t lineOwner)
    {
        return !simulator->line(lineOwner).received().waitFor(1, std::chrono::milliseconds(100)) &&
               receivedSinceLast(lineOwner).empty();
    }

    std::string takeMessages()
    {
        std::string all;
        for (const auto& m : messages)
            all += m + "\n";
        messages.clear();
        return all;
    }

    std::unique_ptr<vorn::sim::Simulator> simulator;
    std::vector<std::string> messages;

private:
    static void capture(const char* message, void* context)
    {
        static_cast<std::vector<std::string>*>(context)->push_back(message);
    }
};

using Bytes = std::vector<uint8_t>;

// Starts a simulator for one test and opens its master's line.
#pragma once

#include "pty_client.h"
#include "simulator.h"

#include <memory>

namespace vorn::sim::test {

inline std::unique_ptr<Simulator> startSimulator(SimulatorConfig config)
{
    config.restartSilence = std::chrono::milliseconds(300);
    auto simulator = std::make_unique<Simulator>(std::move(config));
    simulator->start();
    return simulator;
}

using Bytes = std::vector<uint8_t>;

} // namespace vorn::sim::test

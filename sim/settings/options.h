// The vornsim command line.
#pragma once

#include "simulator_config.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vorn::sim {

struct ProgramOptions {
    SimulatorConfig config;
    std::filesystem::path envFile;
    bool help = false;
    bool quiet = false;
    std::string replayNote; // what --replay read, for the log
    std::vector<std::string> errors;
};

ProgramOptions parseProgramOptions(const std::vector<std::string>& arguments);

std::string programHelp();

} // namespace vorn::sim

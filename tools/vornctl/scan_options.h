// The command line of vornctl scan: which ports, which baud rates, which
// networked controllers, and how long to wait for an answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornctl {

struct ScanOptions {
    std::vector<std::string> ports;       // empty: the usual candidates
    std::vector<uint32_t> bauds;          // in the order to try
    std::vector<std::string> controllers; // HOST:PORT
    uint32_t answerTimeoutMs = 400;
    bool quiet = false;
    bool help = false;
};

struct ScanParse {
    std::optional<ScanOptions> options; // empty: not a scan command line, or `error`
    bool isScan = false;
    std::string error;
};

// A command line whose command word is "scan", in any place among the options.
ScanParse parseScanCommandLine(const std::vector<std::string>& args);

// The rates units are set to, the usual one first.
const std::vector<uint32_t>& unitBaudRates();

} // namespace vornctl

// The table scan prints: one row per port or controller, and under every
// unit found the line that reaches it with vornctl.
#pragma once

#include "scan_candidates.h"
#include "scan_probe.h"

#include <vorn/vorn.h>

#include <cstdio>
#include <string>

namespace vornctl {

void printScanHeader(std::FILE* out);
void printPortRow(std::FILE* out, const Candidate& port, const PortFinding& finding);

// A networked controller: its system configuration, or why it could not be asked.
struct ControllerFinding {
    std::string server; // HOST:PORT
    bool found = false;
    std::string reason;
    VornSystemConfig system {};
};
void printControllerRow(std::FILE* out, const ControllerFinding& finding);

// "1 master, 2, 3: running" of the units on a bus.
std::string unitsText(const std::vector<BusUnit>& units);

} // namespace vornctl

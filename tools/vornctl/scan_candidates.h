// The ports scan looks at: every VORN_COM<n>, /dev/serial/by-id/* (shown by
// that stable name), /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS0-3, each
// device once; or the ports the user names.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vornctl {

struct Candidate {
    std::string path;                // what is opened
    std::string byId;                // its /dev/serial/by-id/ name, if it has one
    std::optional<unsigned> comPort; // n when it is $VORN_COM<n>
};

std::vector<Candidate> defaultCandidates();
// Ports as given with --port: COM numbers (1 is $VORN_COM1 or /dev/ttyS0) or device paths.
std::vector<Candidate> givenCandidates(const std::vector<std::string>& ports);

} // namespace vornctl

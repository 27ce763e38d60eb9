// System Options: what the dialog shows, read from the units, and the five
// steps that write the operator's choices back.
#pragma once

#include "core/vorn_group.h"

#include <optional>
#include <string>
#include <vector>

namespace vornscope {

inline constexpr const char* kTransmitterModeNames[] = {"Non-Pulsed", "Pulsed", "Cool-Down"};
inline constexpr const char* kModeUnavailable = "unavailable";

struct SystemOptionsValues {
    double measurementRate = 0.0;
    int samplesPerPoint = 5;
    std::vector<int> transmitterUnits; // units whose hasTransmitter flag is set
    int activeTransmitter = 0;
    std::optional<int> transmitterMode; // none: unavailable (TCP/IP or no answer)
    bool showTimes = false;
    bool transmitterOn = false;
};

// Where the two document/view settings live.
struct AcquisitionSettings {
    int samplesPerPoint = 5;
    bool showTimes = false;
};

SystemOptionsValues readSystemOptions(VornLibrary& library, CVornGroup& group, const AcquisitionSettings& settings);

// Writes a new measurement rate. The group's record takes it only when the
// library does; otherwise it keeps the old rate and the result is the
// operator's message, with the library's own reason.
std::optional<std::string> setMeasurementRate(VornLibrary& library, CVornGroup& group, double rate);

// Steps a to e. `read` is what the dialog was opened with. A rate the
// library refuses keeps the old one; the result is then the message to show.
std::optional<std::string> applySystemOptions(VornLibrary& library, CVornGroup& group, const SystemOptionsValues& read,
                                              const SystemOptionsValues& chosen, AcquisitionSettings& settings);

} // namespace vornscope

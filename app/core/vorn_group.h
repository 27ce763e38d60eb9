// CVornGroup: Vornscope's copy of one woken group of units: the records read
// after wake-up and what the program derives per unit from them.
#pragma once

#include "core/vorn_library.h"

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vornscope {

struct DistortionParams {
    bool supported = false;
    bool enabled = false;
    int sensitivity = 42;
    int offset = 0;
    int slope = 1;
    int alpha = 12;
};

class CVornGroup {
public:
    CVornGroup(int id, Transport link, bool alone, int count)
        : groupId(id), transport(link), standAlone(alone), deviceCount(count)
    {
    }

    int groupId;
    Transport transport;
    bool standAlone;
    int deviceCount;
    bool failed = false;
    bool woken = false;
    VornSystemConfig systemConfig {};
    // Indexed by unit address 1..deviceCount; slot 0 is not used.
    std::vector<VornDeviceConfig> deviceConfig;
    std::array<bool, VORN_UNIT_COUNT> hasTransmitter {};
    std::array<bool, VORN_UNIT_COUNT> sensorPresent {};
    std::array<int, VORN_UNIT_COUNT> modelCode {};
    std::array<DistortionParams, VORN_UNIT_COUNT> distortionParams {};
    int activeTransmitter = 0;

    // Units with their own commands (examine, change, point, transmitter, run/sleep).
    bool takesUnitCommands() const { return transport != Transport::TCPIP; }
    int firstTransmitterUnit() const;
    int firstDistortionUnit() const;
    // Present sensors in unit order: the numbering used on screen ("Sensor %d").
    std::vector<int> presentUnits() const;
};

} // namespace vornscope

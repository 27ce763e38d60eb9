// The library's state of one woken-up group. Created zeroed at wake-up
// admission, destroyed at shut-down. What belongs to one kind of connection
// (lines, sockets, board addresses) lives in its Transport.
#pragma once

#include "group/transport.h"

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <memory>

namespace vorn {

enum class ConnectionMode : int { None = 0, TcpIp = 1, Rs232 = 2, Isa = 3 };

// The caller's RS232 group-mode setting; any other value means automatic.
enum GroupModeSetting : int { GroupModeAutomatic = 0, GroupModeOff = 1, GroupModeOn = 2 };

struct VornGroup {
    explicit VornGroup(int identifier) : id(identifier) {}

    const int id;
    ConnectionMode mode = ConnectionMode::None;
    bool streaming = false;
    bool pv2 = false;
    uint32_t readTimeoutMs = 0;
    uint32_t writeTimeoutMs = 0;

    VornSystemConfig systemConfig {};
    std::array<VornDeviceConfig, VORN_UNIT_COUNT> deviceConfig {};
    VornFrame mostRecentFrame {};
    bool mostRecentFrameValid = false;
    bool reportingCycles = false;

    bool standAlone = false;
    bool groupModeActive = false; // the library has switched the master into group mode
    int addressingMode = 0;       // as last reported by the master; 2 selects two-byte prefixes
    int expectedFrameLength = 0;
    int lastActiveUnit = 0;
    int groupModeSetting = GroupModeAutomatic;

    VornFrameReadyCallback callback = nullptr;
    uintptr_t userValue = 0;
    bool callbackFired = false;

    std::unique_ptr<Transport> transport;

    // Library calls on this group now running (nested calls count twice).
    // The frame-ready timer skips the group meanwhile, so a callback never
    // reads the line that a waiting call of the same group is reading.
    int callsInProgress = 0;
};

} // namespace vorn

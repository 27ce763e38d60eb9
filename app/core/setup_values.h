// What the setup dialogs ask, with their defaults and ranges, and the
// per-unit dialog's look for each case.
#pragma once

#include "core/vorn_library.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vornscope {

inline constexpr std::array<std::uint32_t, 7> kBaudRates {2400, 4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int kMaxServerAddress = 30;
inline constexpr const char* kDefaultServerAddress = "127.0.0.1";

struct Rs232SetupValues {
    int deviceCount = 1; // 1..120
    int baudIndex = 6;   // 115200
    std::uint32_t readTimeout = 2000;
    std::uint32_t writeTimeout = 2000;
};

struct IsaSetupValues {
    int deviceCount = 1;               // 0..120
    std::uint32_t readTimeout = 2000;  // 0..10000
    std::uint32_t writeTimeout = 2000; // 0..10000
};

struct TcpipSetupValues {
    std::string serverAddress = kDefaultServerAddress; // at most 30 characters
    int deviceCount = 1;                               // 0..120
    std::uint16_t port = 6000;
};

// How the "Device %d" dialog looks for one unit.
struct UnitDialogLook {
    int unit = 1;
    std::string title; // "Device %d"
    std::string label; // "Com Port" or "Base Address (dec)"
    int editDefault = 0;
    std::string firstCaption;
    std::string secondCaption;
    bool firstSelected = true;
    // The one-unit case: the edit stays enabled whichever button is chosen.
    bool editAlwaysEnabled = false;
};

// What the operator chose in one "Device %d" dialog.
struct UnitEntry {
    int value = 0;
    bool firstSelected = true;
};

UnitDialogLook unitDialogLook(Transport link, int deviceCount, int unit);
UnitEntry defaultUnitEntry(const UnitDialogLook& look);
// Whether the edit is enabled for a radio choice.
bool unitEditEnabled(const UnitDialogLook& look, bool firstSelected);

// The port or base-address table and the stand-alone argument of a wake-up.
struct WakeTable {
    int standAlone = 0;
    std::vector<std::uint16_t> entries; // indexed by unit 0..deviceCount
};

// entries[0] is unused; entries[1..n] are the per-unit dialogs' answers.
WakeTable buildWakeTable(const std::vector<UnitEntry>& entries);

} // namespace vornscope

// Which checks each export runs, in which order, before its worker: the
// call-order contract of the library, written down once as a table.
#pragma once

#include <array>
#include <cstdint>

namespace vorn {

enum class Export : int {
    TCPIPWakeUp,
    RS232WakeUp,
    ISAWakeUp,
    PV2WakeUp,
    GetSystemConfig,
    SetSystemConfig,
    GetDeviceConfig,
    SetDeviceConfig,
    GetFastDeviceConfig,
    SetFastDeviceConfig,
    StartReading,
    GetReading,
    ReadingReady,
    StartSingleFrame,
    StartFrameStream,
    GetFrame,
    GetMostRecentFrame,
    FrameReady,
    StopFrameStream,
    StartFrameReadyCallback,
    StopFrameReadyCallback,
    EnableMeasurementCycleReporting,
    DisableMeasurementCycleReporting,
    NewMeasurementCycle,
    TCPIPSendCommand,
    TCPIPGetResponse,
    TCPIPClearBuffer,
    RS232SendCommand,
    RS232GetResponse,
    RS232ClearBuffer,
    RS232Resynch,
    RS232Reset,
    RS232SetGroupMode,
    RS232GroupModeEnabled,
    RS232NonGroupModeAllowed,
    ISASendCommand,
    ISAGetResponse,
    ISAClearBuffer,
    ISAResynch,
    ISAReset,
    Count
};

enum class Check : uint8_t {
    None, // ends a rule's list
    // The identifier and its slot.
    Range,    // G: 0..256
    SlotFree, // F: wake-ups only
    SlotUsed, // U
    Timer,    // T: 1 ms resolution and frame-ready timer; the record is created once it passes
    // Arguments the library would otherwise dereference or index blindly.
    Unit,            // unit address 0..126
    Record,          // record pointer not null
    Buffer,          // byte buffer not null when the count is nonzero
    Callback,        // callback not null
    ServerAddress,   // server address text not null
    ComPorts,        // COM port array not null
    BaseAddresses,   // ISA base address array not null
    UnitCount,       // vornset of 1..126 units (stand-alone ignores the count)
    ControllerUnits, // 0..126 units behind the networked controller
    // The group's state.
    NotWoken,        // W
    Woken,           // B
    NotStreaming,    // S
    Streaming,       // NS
    NotReporting,    // C
    Reporting,       // NC
    AnyMode,         // M3
    SerialOrIsa,     // M2
    TcpIpMode,       // MT
    Rs232Mode,       // MR
    IsaMode,         // MI
    NotFirmware1x,   // TCP/IP controller software 1.x cannot take single frames
    NotMultiVornIsa, // an ISA vornset (not PV2) cannot stream
    NoGroupMode,     // RS232 with group mode enabled cannot report cycles
};

constexpr std::size_t kMaxChecks = 8;

struct ExportRule {
    Export id;
    const char* name;
    std::array<Check, kMaxChecks> checks;
};

const ExportRule& rule(Export id);

} // namespace vorn

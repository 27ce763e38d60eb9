#include "exports/export_rules.h"

namespace vorn {
namespace {

using enum Check;
using E = Export;

// Order matters: checks run left to right and the first refusal wins.
// Argument checks follow G and U so that a bad argument is named before the
// group's state is judged.
constexpr ExportRule kRules[] = {
    {E::TCPIPWakeUp, "vornTCPIPWakeUp", {Range, SlotFree, ServerAddress, ControllerUnits, Timer, NotWoken}},
    {E::RS232WakeUp, "vornRS232WakeUp", {Range, SlotFree, ComPorts, UnitCount, Timer, NotWoken}},
    {E::ISAWakeUp, "vornISAWakeUp", {Range, SlotFree, BaseAddresses, UnitCount, Timer, NotWoken}},
    {E::PV2WakeUp, "vornPV2WakeUp", {Range, SlotFree, Timer, NotWoken}},
    {E::GetSystemConfig, "vornGetSystemConfig", {Range, SlotUsed, Record, Woken, NotStreaming, NotReporting, AnyMode}},
    {E::SetSystemConfig, "vornSetSystemConfig", {Range, SlotUsed, Record, Woken, NotStreaming, NotReporting, AnyMode}},
    {E::GetDeviceConfig,
     "vornGetDeviceConfig",
     {Range, SlotUsed, Unit, Record, Woken, NotStreaming, NotReporting, AnyMode}},
    {E::SetDeviceConfig,
     "vornSetDeviceConfig",
     {Range, SlotUsed, Unit, Record, Woken, NotStreaming, NotReporting, AnyMode}},
    {E::GetFastDeviceConfig,
     "vornGetFastDeviceConfig",
     {Range, SlotUsed, Unit, Record, Woken, NotStreaming, NotReporting, AnyMode}},
    {E::SetFastDeviceConfig,
     "vornSetFastDeviceConfig",
     {Range, SlotUsed, Unit, Record, Woken, NotStreaming, NotReporting, AnyMode}},
    {E::StartReading, "vornStartReading", {Range, SlotUsed, Unit, Woken, NotStreaming, SerialOrIsa}},
    {E::GetReading, "vornGetReading", {Range, SlotUsed, Unit, Record, Woken, NotStreaming, SerialOrIsa}},
    {E::ReadingReady, "vornReadingReady", {Range, SlotUsed, Unit, Woken, NotStreaming, SerialOrIsa}},
    {E::StartSingleFrame, "vornStartSingleFrame", {Range, SlotUsed, Woken, NotStreaming, NotFirmware1x, AnyMode}},
    {E::StartFrameStream,
     "vornStartFrameStream",
     {Range, SlotUsed, Woken, NotStreaming, NotReporting, NotMultiVornIsa, AnyMode}},
    {E::GetFrame, "vornGetFrame", {Range, SlotUsed, Record, Woken, AnyMode}},
    {E::GetMostRecentFrame, "vornGetMostRecentFrame", {Range, SlotUsed, Record, Woken, Streaming, AnyMode}},
    {E::FrameReady, "vornFrameReady", {Range, SlotUsed, Woken, AnyMode}},
    {E::StopFrameStream, "vornStopFrameStream", {Range, SlotUsed, Woken, Streaming, AnyMode}},
    {E::StartFrameReadyCallback, "vornStartFrameReadyCallback", {Range, SlotUsed, Callback}},
    {E::StopFrameReadyCallback, "vornStopFrameReadyCallback", {Range, SlotUsed}},
    {E::EnableMeasurementCycleReporting,
     "vornEnableMeasurementCycleReporting",
     {Range, SlotUsed, Woken, NotStreaming, NotReporting, NoGroupMode, SerialOrIsa}},
    {E::DisableMeasurementCycleReporting,
     "vornDisableMeasurementCycleReporting",
     {Range, SlotUsed, Woken, Reporting, SerialOrIsa}},
    {E::NewMeasurementCycle, "vornNewMeasurementCycle", {Range, SlotUsed, Woken, Reporting, SerialOrIsa}},
    {E::TCPIPSendCommand, "vornTCPIPSendCommand", {Range, SlotUsed, Buffer, TcpIpMode}},
    {E::TCPIPGetResponse, "vornTCPIPGetResponse", {Range, SlotUsed, Buffer, TcpIpMode}},
    {E::TCPIPClearBuffer, "vornTCPIPClearBuffer", {Range, SlotUsed, TcpIpMode}},
    {E::RS232SendCommand, "vornRS232SendCommand", {Range, SlotUsed, Unit, Buffer, Rs232Mode}},
    {E::RS232GetResponse, "vornRS232GetResponse", {Range, SlotUsed, Unit, Buffer, Rs232Mode}},
    {E::RS232ClearBuffer, "vornRS232ClearBuffer", {Range, SlotUsed, Unit, Rs232Mode}},
    {E::RS232Resynch, "vornRS232Resynch", {Range, SlotUsed, Rs232Mode, Streaming}},
    {E::RS232Reset, "vornRS232Reset", {Range, SlotUsed, Rs232Mode}},
    {E::RS232SetGroupMode, "vornRS232SetGroupMode", {Range, SlotUsed}},
    {E::RS232GroupModeEnabled, "vornRS232GroupModeEnabled", {Range, SlotUsed, Rs232Mode}},
    // Its mode check is vornRS232GroupModeEnabled's, run by the export itself.
    {E::RS232NonGroupModeAllowed, "vornRS232NonGroupModeAllowed", {Range, SlotUsed}},
    {E::ISASendCommand, "vornISASendCommand", {Range, SlotUsed, Unit, Buffer, IsaMode}},
    {E::ISAGetResponse, "vornISAGetResponse", {Range, SlotUsed, Unit, Buffer, IsaMode}},
    {E::ISAClearBuffer, "vornISAClearBuffer", {Range, SlotUsed, Unit, IsaMode}},
    {E::ISAResynch, "vornISAResynch", {Range, SlotUsed, IsaMode, Streaming}},
    {E::ISAReset, "vornISAReset", {Range, SlotUsed, IsaMode}},
};

constexpr bool rulesInExportOrder()
{
    for (std::size_t i = 0; i < std::size(kRules); ++i)
        if (static_cast<std::size_t>(kRules[i].id) != i)
            return false;
    return std::size(kRules) == static_cast<std::size_t>(Export::Count);
}
static_assert(rulesInExportOrder(), "one rule per export, in the order of the Export enum");

} // namespace

const ExportRule& rule(Export id)
{
    return kRules[static_cast<std::size_t>(id)];
}

} // namespace vorn

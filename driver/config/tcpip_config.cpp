// Configuration over TCP/IP: the controller takes and gives its settings in
// status blocks, the system's with subtype 0, a unit's with its address.
#include "config/tcpip_config.h"

#include "group/error_reporter.h"
#include "group/group.h"
#include "protocol/data_format.h"
#include "protocol/device_status_block.h"
#include "protocol/system_status_block.h"
#include "transports/tcpip_request.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vorn {

namespace {

constexpr double kRateFieldLimitHz = 1000.0; // six digits of thousandths

// The rate field holds rate x 1000 in six digits: refuse what does not fit
// rather than send a wrong rate.
bool rateFitsField(double rate)
{
    return std::isfinite(rate) && rate > 0.0 && rate * 1000.0 + 0.5 < kRateFieldLimitHz * 1000.0;
}

void takeSystemBlock(const protocol::SystemStatusBlock& block, VornSystemConfig& config)
{
    config.systemStatus = block.systemStatus;
    config.errorCode = block.errorCode;
    if (config.numberOfUnits == 0)
        config.numberOfUnits = block.numberOfUnits;
    config.controllerField1 = block.controllerField1;
    config.transmitter = block.transmitter;
    config.measurementRate = block.measurementRate;
    config.controllerField2 = block.controllerField2;
    config.controllerField3 = block.controllerField3;
    config.controllerField4 = block.controllerField4;
    config.softwareRevision = block.softwareRevision;
    std::fill(std::begin(config.unitStatus), std::end(config.unitStatus), 0);
    std::copy(block.unitStatus.begin(), block.unitStatus.end(), &config.unitStatus[1]);
}

} // namespace

int tcpipGetSystemConfig(VornGroup& group, VornSystemConfig& config)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    std::array<uint8_t, protocol::kSystemStatusBlockBytes> bytes {};
    if (transport == nullptr || !exchange(*transport, {.name = "get status",
                                                       .type = protocol::PacketType::GetStatus,
                                                       .answerType = protocol::PacketType::StatusAnswer,
                                                       .answerData = bytes}))
        return 0;
    protocol::SystemStatusBlock block;
    if (!protocol::decodeSystemStatusBlock(bytes, block).ok()) {
        reportError("Vorn \"get status\" command returned a measurement rate that is not six digits.");
        return 0;
    }
    takeSystemBlock(block, config);
    group.systemConfig = config;
    return 1;
}

int tcpipSetSystemConfig(VornGroup& group, VornSystemConfig& config)
{
    if (!rateFitsField(config.measurementRate)) {
        reportError("Illegal measurement rate specified for vorns: %g Hz (the controller takes more than 0 and less "
                    "than 1000 Hz).",
                    config.measurementRate);
        return 0;
    }
    TcpipTransport* transport = tcpipTransportOf(group);
    const auto block = protocol::encodeSystemStatusBlock(protocol::systemStatusBlockOf(config));
    if (transport == nullptr || !exchange(*transport, {.name = "send setup",
                                                       .type = protocol::PacketType::SendSetup,
                                                       .data = block,
                                                       .answerType = protocol::PacketType::SetupAnswer}))
        return 0;
    group.systemConfig = config;
    return 1;
}

int tcpipGetDeviceConfig(VornGroup& group, int unit, VornDeviceConfig& config)
{
    TcpipTransport* transport = tcpipTransportOf(group);
    std::array<uint8_t, protocol::kDeviceStatusBlockBytes> bytes {};
    if (transport == nullptr || !exchange(*transport, {.name = "get status",
                                                       .type = protocol::PacketType::GetStatus,
                                                       .subtype = static_cast<uint8_t>(unit),
                                                       .answerType = protocol::PacketType::StatusAnswer,
                                                       .answerData = bytes,
                                                       .unit = unit}))
        return 0;
    protocol::decodeDeviceStatusBlock(bytes, config);
    group.deviceConfig[static_cast<std::size_t>(unit)] = config;
    return 1;
}

int tcpipSetDeviceConfig(VornGroup& group, int unit, const VornDeviceConfig& config)
{
    if (!protocol::isValidDataFormat(config.dataFormat)) {
        reportError("Invalid vorn data format specified for vorn #%d: 0x%02X", unit, config.dataFormat);
        return 0;
    }
    TcpipTransport* transport = tcpipTransportOf(group);
    const auto block = protocol::encodeDeviceStatusBlock(config);
    if (transport == nullptr || !exchange(*transport, {.name = "send setup",
                                                       .type = protocol::PacketType::SendSetup,
                                                       .subtype = static_cast<uint8_t>(unit),
                                                       .data = block,
                                                       .answerType = protocol::PacketType::SetupAnswer,
                                                       .unit = unit}))
        return 0;
    group.deviceConfig[static_cast<std::size_t>(unit)] = config;
    return 1;
}

} // namespace vorn

#include "controller/controller_state.h"

#include "inspect/sent_readings.h"

#include "model/reading_builder.h"
#include "protocol/data_format.h"
#include "protocol/device_status_block.h"
#include "protocol/record_shape.h"
#include "protocol/system_status_block.h"
#include "protocol/tcpip_record.h"

#include <algorithm>
#include <cmath>

namespace vorn::sim {

namespace {

using protocol::PacketType;
using protocol::toByte;

constexpr uint8_t kRunning = 0x80;
constexpr uint8_t kUnitAccessibleRunning = 0xC0;
constexpr uint8_t kUnitSensor = 0x20;
constexpr uint8_t kUnitTransmitter = 0x01;
constexpr uint8_t kDeviceRunning = 0x40;
constexpr uint8_t kDeviceSensor = 0x04;
constexpr uint8_t kDeviceTransmitter = 0x02;
constexpr uint8_t kButtonSetup = 0x08;
constexpr uint8_t kXyzReferenceSetup = 0x10;

// The packet type that answers a request, or 0 for requests without answer.
uint8_t answerTypeOf(uint8_t requestType)
{
    switch (requestType) {
    case toByte(PacketType::WakeUp): return toByte(PacketType::WakeUpAnswer);
    case toByte(PacketType::GetStatus): return toByte(PacketType::StatusAnswer);
    case toByte(PacketType::SendSetup): return toByte(PacketType::SetupAnswer);
    case toByte(PacketType::SingleShot): return toByte(PacketType::Data);
    case toByte(PacketType::RunContinuous): return toByte(PacketType::RunContinuousAnswer);
    case toByte(PacketType::ShutDown):
    case toByte(PacketType::StopData): return 0;
    default: return static_cast<uint8_t>(requestType + 100);
    }
}

ReportFrame reportFrameOf(const VornDeviceConfig& device)
{
    ReportFrame frame {.hemisphere = device.hemisphere,
                       .rotateXyz = (device.setup & kXyzReferenceSetup) != 0,
                       .scalingInches = device.scaling != 0 ? device.scaling : 72.0};
    std::copy(std::begin(device.referenceFrame), std::end(device.referenceFrame), frame.referenceFrame.begin());
    std::copy(std::begin(device.angleAlign), std::end(device.angleAlign), frame.angleAlign.begin());
    return frame;
}

bool knownRequest(uint8_t type)
{
    return type == toByte(PacketType::WakeUp) || type == toByte(PacketType::ShutDown) ||
           (type >= toByte(PacketType::GetStatus) && type <= toByte(PacketType::StopData));
}

} // namespace

ControllerState::ControllerState(ControllerConfig config) : config_(std::move(config))
{
    system_.systemStatus = kRunning;
    system_.numberOfUnits = static_cast<uint8_t>(config_.units.size());
    system_.measurementRate = config_.measurementRate;
    system_.softwareRevision = config_.softwareRevision;
    system_.transmitter = 0x10;
    for (const ControllerUnitConfig& unit : config_.units) {
        sensors_.emplace_back(unit.sensorModel, unitSeed(config_.seed, unit.address));
        if (unit.address == 0 || unit.address > protocol::kTcpipLastAddress)
            continue;
        system_.unitStatus[unit.address] =
            static_cast<uint8_t>(kUnitAccessibleRunning | kUnitTransmitter | (unit.sensor ? kUnitSensor : 0));
        VornDeviceConfig& device = devices_[unit.address];
        device.status = static_cast<uint8_t>(kDeviceRunning | kDeviceTransmitter | (unit.sensor ? kDeviceSensor : 0));
        device.status2 = unit.typeCode;
        device.softwareRevision = unit.softwareRevision;
        device.setup = static_cast<uint8_t>(0x07 | (unit.button ? kButtonSetup : 0));
        device.dataFormat = unit.dataFormat;
        device.reportRate = config_.reportRate;
        device.scaling = 72;
        device.address = unit.address;
        device.transmitterType = 0x41;
        for (int i = 0; i < VORN_FILTER_ENTRIES; ++i) {
            device.alphaMin[i] = 688;
            device.alphaMax[i] = 9000;
            device.vm[i] = static_cast<uint16_t>(2 + i);
        }
    }
}

bool ControllerState::knownUnit(uint8_t address) const
{
    return std::any_of(config_.units.begin(), config_.units.end(),
                       [&](const ControllerUnitConfig& u) { return u.address == address; });
}

uint8_t ControllerState::checkHeader(const ReceivedPacket& request) const
{
    const protocol::PacketHeader& h = request.header;
    if (h.protocolVersion != protocol::kProtocolVersion)
        return controller_error::kBadProtocolVersion;
    if (!knownRequest(h.type))
        return controller_error::kUnknownPacketType;
    if (h.milliseconds != 0 || h.seconds != 0 || h.errorCode != 0 || h.errorExtension != 0)
        return controller_error::kBadHeaderField;
    const bool perUnit = h.type == toByte(PacketType::GetStatus) || h.type == toByte(PacketType::SendSetup);
    if (!perUnit && h.subtype != 0)
        return controller_error::kBadHeaderField;
    if (perUnit && h.subtype != 0 && !knownUnit(h.subtype))
        return controller_error::kNoSuchUnit;
    std::size_t expectedData = 0;
    if (h.type == toByte(PacketType::SendSetup))
        expectedData = h.subtype == 0 ? protocol::kSystemStatusBlockBytes : protocol::kDeviceStatusBlockBytes;
    if (h.dataLength != expectedData || request.data.size() != expectedData)
        return controller_error::kBadDataLength;
    return 0;
}

uint8_t ControllerState::applySetup(const ReceivedPacket& request)
{
    if (request.header.subtype == 0) {
        protocol::SystemStatusBlock block;
        if (!protocol::decodeSystemStatusBlock(request.data, block).ok() || block.measurementRate <= 0.0)
            return controller_error::kBadSetup;
        system_.measurementRate = block.measurementRate;
        system_.transmitter = block.transmitter;
        system_.controllerField1 = block.controllerField1;
        system_.controllerField2 = block.controllerField2;
        system_.controllerField3 = block.controllerField3;
        system_.controllerField4 = block.controllerField4;
        return 0;
    }
    VornDeviceConfig device = devices_[request.header.subtype];
    protocol::decodeDeviceStatusBlock(request.data, device);
    if (!protocol::isValidDataFormat(device.dataFormat))
        return controller_error::kBadSetup;
    device.address = request.header.subtype;
    devices_[request.header.subtype] = device;
    return 0;
}

void ControllerState::appendAnswer(const ReceivedPacket& request, uint8_t type, uint8_t error, double seconds,
                                   const ControllerFaults& faults, std::vector<uint8_t>& out,
                                   const std::vector<uint8_t>& data)
{
    protocol::PacketHeader answer;
    answer.sequence = request.header.sequence;
    answer.seconds = static_cast<uint32_t>(seconds);
    answer.milliseconds = static_cast<uint16_t>(std::fmod(seconds, 1.0) * 1000.0);
    answer.type = faults.answerType.value_or(type);
    answer.subtype = request.header.subtype;
    answer.errorCode = faults.errorCode != 0 ? faults.errorCode : error;
    answer.errorExtension = faults.errorCode != 0 ? faults.errorExtension : static_cast<uint16_t>(error ? 1 : 0);
    const bool withData = answer.errorCode == 0;
    answer.dataLength = withData ? static_cast<uint16_t>(data.size()) : 0;
    const auto header = protocol::encodePacketHeader(answer);
    out.insert(out.end(), header.begin(), header.end());
    if (withData)
        out.insert(out.end(), data.begin(), data.end());
}

StreamChange ControllerState::handle(const ReceivedPacket& request, double seconds, const ControllerFaults& faults,
                                     std::vector<uint8_t>& out)
{
    const uint8_t type = request.header.type;
    const uint8_t answerType = answerTypeOf(type);
    const uint8_t error = checkHeader(request);
    if (error != 0) {
        appendAnswer(request, answerType != 0 ? answerType : static_cast<uint8_t>(type + 100), error, seconds, faults,
                     out);
        return StreamChange::None;
    }
    if (type == toByte(PacketType::WakeUp))
        for (auto& sensor : sensors_)
            sensor.restart(); // a new session: a replay starts over
    switch (static_cast<PacketType>(type)) {
    case PacketType::ShutDown: return StreamChange::HangUp;
    case PacketType::StopData: return StreamChange::Stop;
    case PacketType::GetStatus: {
        std::vector<uint8_t> block;
        if (request.header.subtype == 0) {
            const auto bytes = protocol::encodeSystemStatusBlock(protocol::systemStatusBlockOf(system_));
            block.assign(bytes.begin(), bytes.end());
        } else {
            const auto bytes = protocol::encodeDeviceStatusBlock(devices_[request.header.subtype]);
            block.assign(bytes.begin(), bytes.end());
        }
        appendAnswer(request, answerType, 0, seconds, faults, out, block);
        return StreamChange::None;
    }
    case PacketType::SendSetup:
        appendAnswer(request, answerType, applySetup(request), seconds, faults, out);
        return StreamChange::None;
    case PacketType::SingleShot:
        if ((config_.softwareRevision >> 8) == 1) {
            appendAnswer(request, answerType, controller_error::kNotSupported, seconds, faults, out);
            return StreamChange::None;
        }
        if (faults.answerType || faults.errorCode != 0)
            appendAnswer(request, answerType, 0, seconds, faults, out);
        else
            appendDataPacket(seconds, faults, out);
        return StreamChange::None;
    case PacketType::RunContinuous:
        if (faults.answerRunContinuousWithData)
            appendDataPacket(seconds, faults, out);
        else
            appendAnswer(request, answerType, 0, seconds, faults, out);
        return StreamChange::Start;
    default: appendAnswer(request, answerType, 0, seconds, faults, out); return StreamChange::None;
    }
}

void ControllerState::appendDataPacket(double seconds, const ControllerFaults& faults, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> payload;
    for (std::size_t i = 0; i < config_.units.size(); ++i) {
        const ControllerUnitConfig& unit = config_.units[i];
        const VornDeviceConfig& device = devices_[unit.address];
        if ((device.status & kDeviceSensor) == 0 || device.dataFormat == 0)
            continue;
        protocol::TcpipRecord record;
        record.address = unit.address;
        record.dataFormat = device.dataFormat;
        record.button = (device.setup & kButtonSetup) != 0;
        record.reading = readingOf(sensors_[i].measure(seconds, config_.metal).pose, reportFrameOf(device));
        record.reading.button = unit.buttonValue;
        uint8_t bytes[protocol::kMaxRecordBytes + 2];
        const std::size_t length = protocol::encodeTcpipRecord(record, bytes);
        protocol::TcpipRecord sent;
        if (protocol::decodeTcpipRecord(std::span(bytes, length), sent).ok())
            sentReadings().record(sent.address, sent.reading);
        if (payload.empty()) {
            if (faults.recordAddress)
                bytes[0] = static_cast<uint8_t>((bytes[0] & 0x80) | *faults.recordAddress);
            if (faults.recordFormat)
                bytes[1] = static_cast<uint8_t>(*faults.recordFormat << 4);
        }
        payload.insert(payload.end(), bytes, bytes + length);
    }
    if (faults.truncateLastRecord && !payload.empty())
        payload.pop_back();
    if (faults.announcedPayload)
        payload.resize(*faults.announcedPayload);
    protocol::PacketHeader header;
    header.sequence = sequence_++;
    header.seconds = static_cast<uint32_t>(seconds);
    header.milliseconds = static_cast<uint16_t>(std::fmod(seconds, 1.0) * 1000.0);
    header.type = faults.dataPacketType.value_or(toByte(PacketType::Data));
    header.dataLength = static_cast<uint16_t>(payload.size());
    const auto bytes = protocol::encodePacketHeader(header);
    out.insert(out.end(), bytes.begin(), bytes.end());
    out.insert(out.end(), payload.begin(), payload.end());
}

std::chrono::nanoseconds ControllerState::reportPeriod() const
{
    const double rate = system_.measurementRate > 0.0 ? system_.measurementRate : 1.0;
    // The first unit's report rate paces them all, as the master's does on a vornset.
    const uint8_t first = config_.units.empty() ? 1 : config_.units.front().address;
    const uint8_t every = devices_[first].reportRate != 0 ? devices_[first].reportRate : 1;
    return std::chrono::nanoseconds(static_cast<int64_t>(1e9 * every / rate));
}

} // namespace vorn::sim

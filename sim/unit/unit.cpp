#include "unit/unit.h"

#include "inspect/sent_readings.h"

#include "model/reading_builder.h"
#include "protocol/commands.h"
#include "protocol/data_format.h"
#include "protocol/hemisphere.h"
#include "protocol/parameters.h"
#include "protocol/record_shape.h"
#include "protocol/report_rate.h"
#include "protocol/rs232_record.h"
#include "protocol/unit_status.h"
#include "protocol/word_codec.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace vorn::sim {

namespace vp = vorn::protocol;
using vp::Parameter;

namespace {

constexpr double kMinimumRate = 1.0;
constexpr double kMaximumRate = 1000.0;
constexpr std::array<uint16_t, 5> kMetalDefaults = {1, 42, 0, 1, 12};

void putWord(std::vector<uint8_t>& out, uint16_t word)
{
    out.push_back(static_cast<uint8_t>(word));
    out.push_back(static_cast<uint8_t>(word >> 8));
}

template <typename Word, std::size_t N> void putWords(std::vector<uint8_t>& out, const std::array<Word, N>& words)
{
    for (Word w : words) {
        putWord(out, static_cast<uint16_t>(w));
    }
}

uint16_t wordAt(std::span<const uint8_t> bytes, std::size_t index)
{
    return vp::readWord(vp::Connection::Rs232, &bytes[2 * index]);
}

template <typename Word, std::size_t N> void readWords(std::span<const uint8_t> bytes, std::array<Word, N>& words)
{
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = static_cast<Word>(wordAt(bytes, i));
    }
}

RawSampleModeConfig rawSampleModeConfigOf(const UnitConfig& config)
{
    return {
        .prom = config.prom, .softwareRevision = config.softwareRevision, .sampleClockHertz = config.rawSampleClock};
}

} // namespace

Unit::Unit(const UnitConfig& config, const MagneticEnvironment& environment, uint64_t seed)
    : config_(config), sensor_(config.sensorModel, seed),
      rawSampleMode_(rawSampleModeConfigOf(config), environment, seed ^ 0x5A5A)
{
    reset();
}

void Unit::reset()
{
    sensor_.restart();
    settings_ = UnitSettings {};
    settings_.dataFormat = config_.dataFormat;
    settings_.groupMode = config_.groupModeAtReset;
    settings_.measurementRate = config_.measurementRate;
    rawSampleMode_.reset();
}

bool Unit::extendedRange() const
{
    return vp::isExtendedRangeUnit(unitStatusByte());
}

uint8_t Unit::unitStatusByte() const
{
    uint8_t status = vp::unit_status::kAccessible | (config_.transmitterBits & 0x1F);
    if (settings_.running) {
        status |= vp::unit_status::kRunning;
    }
    if (config_.sensor) {
        status |= vp::unit_status::kSensor;
    }
    return status;
}

double Unit::scalingInches(bool extendedRangeSystem) const
{
    if (extendedRangeSystem) {
        return 144.0;
    }
    return settings_.scalingCode == 1 ? 72.0 : 36.0;
}

uint16_t Unit::statusWord() const
{
    namespace sw = vp::status_word;
    uint16_t word = sw::kInitialized | config_.extraStatusBits;
    if (config_.address <= 1) {
        word |= sw::kMaster;
    }
    if (config_.errorCode != 0) {
        word |= sw::kError;
    }
    if (settings_.running) {
        word |= sw::kRunning;
    } else {
        word |= sw::kAsleep;
    }
    if (config_.addressingMode == 1) {
        word |= sw::kExpandedAddressing;
    }
    word |= settings_.crtSync != 0 ? sw::kCrtSync : sw::kNoSync;
    if (settings_.streaming) {
        word |= sw::kStream;
    }
    return vp::statusWordWithDataFormat(word, settings_.dataFormat);
}

uint16_t Unit::measurementRateCount() const
{
    const double count = (1e6 / settings_.measurementRate - 300.0) * config_.crystalSpeed / 32.0;
    return static_cast<uint16_t>(std::clamp(count, 0.0, 65535.0));
}

void Unit::setMeasurementRateCount(uint16_t count, const Log& log)
{
    const double rate = 1e6 / (count * 32.0 / std::max<uint16_t>(config_.crystalSpeed, 1) + 300.0);
    if (rate < kMinimumRate || rate > kMaximumRate) {
        log("refused measurement rate count " + std::to_string(count));
        return;
    }
    settings_.measurementRate = rate;
}

bool Unit::examine(uint8_t parameter, std::vector<uint8_t>& out) const
{
    switch (static_cast<Parameter>(parameter)) {
    case Parameter::Status: putWord(out, statusWord()); return true;
    case Parameter::SoftwareRevision:
        // Integer part first, then the fraction: not a little-endian word.
        out.push_back(static_cast<uint8_t>(config_.softwareRevision >> 8));
        out.push_back(static_cast<uint8_t>(config_.softwareRevision));
        return true;
    case Parameter::CrystalSpeed: putWord(out, config_.crystalSpeed); return true;
    case Parameter::RangeScaling: putWord(out, settings_.scalingCode); return true;
    case Parameter::FilterStatus: putWord(out, settings_.filterOffBits); return true;
    case Parameter::AlphaMin: putWords(out, settings_.alphaMin); return true;
    case Parameter::MeasurementRateCount: putWord(out, measurementRateCount()); return true;
    case Parameter::MeasurementRate:
        putWord(out, static_cast<uint16_t>(std::min(settings_.measurementRate * 256.0, 65535.0)));
        return true;
    case Parameter::DataReadyCharacter: out.push_back(settings_.dataReady ? 1 : 0); return true;
    case Parameter::ErrorCode: out.push_back(config_.errorCode); return true;
    case Parameter::ErrorDetectMask: out.push_back(settings_.errorMask); return true;
    case Parameter::VmTable: putWords(out, settings_.vm); return true;
    case Parameter::AlphaMax: putWords(out, settings_.alphaMax); return true;
    case Parameter::SuddenOutputChangeLock: out.push_back(settings_.suddenOutputLock); return true;
    case Parameter::ModelIdentification: {
        const std::string model = paddedModel(config_.model);
        out.insert(out.end(), model.begin(), model.end());
        return true;
    }
    case Parameter::RotateXyzWithReferenceFrame: out.push_back(settings_.rotateXyz); return true;
    case Parameter::TransmitterOperationMode: out.push_back(settings_.transmitterMode); return true;
    case Parameter::AddressingMode: out.push_back(config_.addressingMode); return true;
    case Parameter::FilterLineFrequency: out.push_back(settings_.lineFrequency); return true;
    case Parameter::UnitSerialNumber: putWord(out, config_.unitSerial); return true;
    case Parameter::SensorSerialNumber: putWord(out, config_.sensorSerial); return true;
    case Parameter::TransmitterSerialNumber: putWord(out, config_.transmitterSerial); return true;
    case Parameter::MetalDetection: putWords(out, settings_.metalDetection); return true;
    case Parameter::ReportRate: out.push_back(settings_.reportRate); return true;
    case Parameter::GroupMode: out.push_back(settings_.groupMode ? 1 : 0); return true;
    default: return false;
    }
}

void Unit::change(uint8_t parameter, std::span<const uint8_t> value, const Log& log)
{
    const auto expected = vp::changeValueBytes(parameter, vp::Connection::Rs232);
    if (!expected || value.size() < *expected) {
        log("ignored change of parameter " + std::to_string(parameter));
        return;
    }
    switch (static_cast<Parameter>(parameter)) {
    case Parameter::RangeScaling: {
        const uint16_t code = wordAt(value, 0);
        if (code <= 1) {
            settings_.scalingCode = code;
        } else {
            log("refused range scaling code " + std::to_string(code));
        }
        break;
    }
    case Parameter::FilterStatus: settings_.filterOffBits = static_cast<uint8_t>(wordAt(value, 0) & 7); break;
    case Parameter::AlphaMin: readWords(value, settings_.alphaMin); break;
    case Parameter::MeasurementRateCount: setMeasurementRateCount(wordAt(value, 0), log); break;
    case Parameter::MeasurementRate: {
        const double rate = wordAt(value, 0) / 256.0;
        if (rate >= kMinimumRate && rate <= kMaximumRate) {
            settings_.measurementRate = rate;
        } else {
            log("refused measurement rate " + std::to_string(rate));
        }
        break;
    }
    case Parameter::DataReadyCharacter: settings_.dataReady = value[0] != 0; break;
    case Parameter::ErrorDetectMask: settings_.errorMask = value[0]; break;
    case Parameter::VmTable: readWords(value, settings_.vm); break;
    case Parameter::AlphaMax: readWords(value, settings_.alphaMax); break;
    case Parameter::SuddenOutputChangeLock: settings_.suddenOutputLock = value[0] & 1; break;
    case Parameter::RotateXyzWithReferenceFrame: settings_.rotateXyz = value[0] & 1; break;
    case Parameter::TransmitterOperationMode: settings_.transmitterMode = value[0]; break;
    case Parameter::FilterLineFrequency:
        if (value[0] != 0) {
            settings_.lineFrequency = value[0];
        }
        break;
    case Parameter::MetalDetection:
        // Each value travels in the low byte of its word.
        for (std::size_t i = 0; i < settings_.metalDetection.size(); ++i) {
            settings_.metalDetection[i] = wordAt(value, i) & 0xFF;
        }
        break;
    case Parameter::ReportRate:
        if (value[0] != 0) {
            settings_.reportRate = value[0];
        }
        break;
    case Parameter::GroupMode: settings_.groupMode = value[0] != 0; break;
    case Parameter::FvbAutoConfiguration: settings_.fvbUnits = value[0]; break;
    default: log("ignored change of parameter " + std::to_string(parameter)); break;
    }
}

void Unit::setMetalDetectionField(uint8_t field, uint8_t value)
{
    auto& metal = settings_.metalDetection;
    if (field == 0) {
        metal[0] = 0;
    } else if (field == 1) {
        metal = kMetalDefaults;
    } else {
        metal[field - 1] = value;
        metal[0] = std::max<uint16_t>(metal[0], 2);
    }
}

bool Unit::applySetting(const ParsedCommand& command, const Log& log)
{
    using vp::Command;
    const auto args = command.args();
    if (const auto format = vp::dataFormatOfCommand(command.command)) {
        settings_.dataFormat = *format;
        return true;
    }
    if (const auto rate = vp::reportRateOfCommand(command.command)) {
        settings_.reportRate = *rate;
        return true;
    }
    switch (static_cast<Command>(command.command)) {
    case Command::NextTransmitter: settings_.activeTransmitter = args[0]; return true;
    case Command::CrtSync: settings_.crtSync = args[0] <= 2 ? args[0] : 0; return true;
    case Command::Run: settings_.running = true; return true;
    case Command::Sleep: settings_.running = false; return true;
    case Command::Hemisphere:
        if (const auto code = vp::hemisphereOfArguments(args[0], args[1])) {
            settings_.hemisphere = *code;
        } else {
            log("refused hemisphere arguments " + std::to_string(args[0]) + ", " + std::to_string(args[1]));
        }
        return true;
    case Command::ButtonMode: settings_.button = args[0] != 0; return true;
    case Command::ChangeValue: change(args[0], args.subspan(1), log); return true;
    case Command::AngleAlign: readWords(args, settings_.angleAlign); return true;
    case Command::ReferenceFrame: readWords(args, settings_.referenceFrame); return true;
    case Command::DistortionSetting:
        if (args[0] <= 5) {
            setMetalDetectionField(args[0], args[1]);
        } else {
            log("refused distortion setting field " + std::to_string(args[0]));
        }
        return true;
    default: return false;
    }
}

std::size_t Unit::recordLength(bool tag) const
{
    if (!config_.sensor) {
        return 0;
    }
    const vp::RecordShape shape {.dataFormat = settings_.dataFormat, .button = settings_.button, .tag = tag};
    return vp::recordLength(vp::Connection::Rs232, shape) + (settings_.metalDetection[0] != 0 ? 1 : 0);
}

void Unit::appendRecord(double seconds, const std::vector<MetalObject>& metal, bool extendedRangeSystem, bool tag,
                        std::vector<uint8_t>& out)
{
    if (!config_.sensor) {
        return; // a unit without a sensor sends nothing
    }
    const Measurement measurement = sensor_.measure(seconds, metal);
    const ReportFrame frame {.hemisphere = settings_.hemisphere,
                             .referenceFrame = settings_.referenceFrame,
                             .angleAlign = settings_.angleAlign,
                             .rotateXyz = settings_.rotateXyz != 0,
                             .scalingInches = scalingInches(extendedRangeSystem)};
    VornReading reading = readingOf(measurement.pose, frame);
    reading.button = config_.buttonValue;
    const vp::RecordShape shape {.dataFormat = settings_.dataFormat, .button = settings_.button};
    std::array<uint8_t, vp::kMaxRecordBytes> bytes {};
    const std::size_t length = vp::encodeRs232Record(reading, shape, bytes);
    VornReading sent {};
    if (vp::decodeRs232Record(std::span(bytes.data(), length), shape, sent).ok())
        sentReadings().record(config_.address, sent);
    out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    if (settings_.metalDetection[0] != 0) {
        out.push_back(measurement.distortion);
    }
    if (tag) {
        out.push_back(config_.address);
    }
}

} // namespace vorn::sim

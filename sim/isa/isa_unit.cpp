#include "isa/isa_unit.h"

#include "model/model_string.h"
#include "model/reading_builder.h"
#include "protocol/commands.h"
#include "protocol/data_format.h"
#include "protocol/hemisphere.h"
#include "protocol/isa_record.h"
#include "protocol/parameters.h"
#include "protocol/report_rate.h"
#include "protocol/unit_status.h"
#include "protocol/word_codec.h"

#include <cmath>

namespace vorn::sim {

namespace {

using protocol::Command;
using protocol::Parameter;

constexpr uint16_t kFirstRateWordRevision = 0x033F; // 3.63

template <std::size_t N> void readTable(std::span<const uint8_t> value, std::array<uint16_t, N>& table)
{
    for (std::size_t i = 0; i < N && 2 * i + 1 < value.size(); ++i)
        table[i] = protocol::readBigEndian16(&value[2 * i]);
}

} // namespace

IsaUnit::IsaUnit(const IsaUnitConfig& config, uint64_t seed) : config_(config), sensor_(config.sensorModel, seed)
{
    reset();
}

void IsaUnit::reset()
{
    sensor_.restart();
    settings_ = {};
    settings_.dataFormat = config_.dataFormat;
    settings_.alphaMin.fill(688);
    settings_.alphaMax.fill(9000);
    for (std::size_t i = 0; i < settings_.vm.size(); ++i)
        settings_.vm[i] = static_cast<uint16_t>(2 + i);
    const double rate = config_.measurementRate;
    settings_.measurementRateWord = static_cast<uint16_t>(rate * 256.0);
    settings_.measurementRateCount = static_cast<uint16_t>((1e6 / rate - 300.0) * config_.crystalSpeed / 32.0);
}

double IsaUnit::measurementRate() const
{
    if (config_.softwareRevision >= kFirstRateWordRevision)
        return settings_.measurementRateWord / 256.0;
    const double crystal = config_.crystalSpeed != 0 ? config_.crystalSpeed : 1;
    return 1e6 / (settings_.measurementRateCount * 32.0 / crystal + 300.0);
}

uint16_t IsaUnit::statusWord() const
{
    namespace bit = protocol::status_word;
    uint16_t word = bit::kInitialized;
    if (config_.address <= 1)
        word |= bit::kMaster;
    if (config_.errorCode != 0)
        word |= bit::kError;
    word |= settings_.asleep ? bit::kAsleep : bit::kRunning;
    if (config_.addressingMode == 1)
        word |= bit::kExpandedAddressing;
    word |= settings_.crtSync != 0 ? bit::kCrtSync : bit::kNoSync;
    if (settings_.streaming)
        word |= bit::kStream;
    return protocol::statusWordWithDataFormat(word, settings_.dataFormat);
}

uint8_t IsaUnit::unitStatusByte() const
{
    namespace bit = protocol::unit_status;
    return static_cast<uint8_t>(bit::kAccessible | (settings_.asleep ? 0 : bit::kRunning) |
                                (config_.sensor ? bit::kSensor : 0) | (config_.transmitterBits & 0x1F));
}

bool IsaUnit::examine(uint8_t parameter, std::vector<uint16_t>& words) const
{
    const auto table = [&](const std::array<uint16_t, 7>& t) { words.insert(words.end(), t.begin(), t.end()); };
    switch (static_cast<Parameter>(parameter)) {
    case Parameter::Status: words.push_back(statusWord()); return true;
    case Parameter::SoftwareRevision: words.push_back(config_.softwareRevision); return true;
    case Parameter::CrystalSpeed: words.push_back(config_.crystalSpeed); return true;
    case Parameter::RangeScaling: words.push_back(settings_.scalingCode); return true;
    case Parameter::FilterStatus: words.push_back(settings_.filtersOff); return true;
    case Parameter::AlphaMin: table(settings_.alphaMin); return true;
    case Parameter::MeasurementRateCount: words.push_back(settings_.measurementRateCount); return true;
    case Parameter::MeasurementRate: words.push_back(settings_.measurementRateWord); return true;
    case Parameter::ErrorCode: words.push_back(config_.errorCode); return true;
    case Parameter::VmTable: table(settings_.vm); return true;
    case Parameter::AlphaMax: table(settings_.alphaMax); return true;
    case Parameter::SuddenOutputChangeLock: words.push_back(settings_.suddenOutputLock); return true;
    case Parameter::ModelIdentification: {
        const std::string model = paddedModel(config_.model);
        for (std::size_t i = 0; i < model.size(); i += 2)
            words.push_back(static_cast<uint16_t>(model[i] << 8 | model[i + 1]));
        return true;
    }
    case Parameter::RotateXyzWithReferenceFrame: words.push_back(settings_.rotateXyz); return true;
    case Parameter::AddressingMode: words.push_back(config_.addressingMode); return true;
    case Parameter::ReportRate: words.push_back(settings_.reportRate); return true;
    case Parameter::GroupMode: words.push_back(settings_.groupMode); return true;
    default: return false;
    }
}

void IsaUnit::change(uint8_t parameter, std::span<const uint8_t> value)
{
    const uint16_t word = value.size() >= 2 ? protocol::readBigEndian16(value.data()) : (value.empty() ? 0 : value[0]);
    switch (static_cast<Parameter>(parameter)) {
    case Parameter::RangeScaling: settings_.scalingCode = static_cast<uint8_t>(word & 1); break;
    case Parameter::FilterStatus: settings_.filtersOff = static_cast<uint8_t>(word & 7); break;
    case Parameter::AlphaMin: readTable(value, settings_.alphaMin); break;
    case Parameter::AlphaMax: readTable(value, settings_.alphaMax); break;
    case Parameter::VmTable: readTable(value, settings_.vm); break;
    case Parameter::MeasurementRateCount: settings_.measurementRateCount = word; break;
    case Parameter::MeasurementRate: settings_.measurementRateWord = word; break;
    case Parameter::DataReadyCharacter: settings_.dataReady = word != 0; break;
    case Parameter::SuddenOutputChangeLock: settings_.suddenOutputLock = static_cast<uint8_t>(word & 1); break;
    case Parameter::RotateXyzWithReferenceFrame: settings_.rotateXyz = static_cast<uint8_t>(word & 1); break;
    case Parameter::ReportRate: settings_.reportRate = static_cast<uint8_t>(word); break;
    case Parameter::GroupMode: settings_.groupMode = word != 0; break;
    case Parameter::FvbAutoConfiguration: settings_.fvbUnits = static_cast<uint8_t>(word); break;
    default: break;
    }
}

bool IsaUnit::apply(uint8_t command, std::span<const uint8_t> arguments)
{
    if (const auto format = protocol::dataFormatOfCommand(command)) {
        settings_.dataFormat = *format;
        return true;
    }
    if (const auto rate = protocol::reportRateOfCommand(command)) {
        settings_.reportRate = *rate;
        return true;
    }
    const auto words3 = [&](std::array<int16_t, 3>& out) {
        for (std::size_t i = 0; i < 3 && 2 * i + 1 < arguments.size(); ++i)
            out[i] = static_cast<int16_t>(protocol::readBigEndian16(&arguments[2 * i]));
    };
    switch (static_cast<Command>(command)) {
    case Command::NextTransmitter: settings_.transmitter = arguments[0]; return true;
    case Command::CrtSync: settings_.crtSync = arguments[0]; return true;
    case Command::Run: settings_.asleep = false; return true;
    case Command::Sleep: settings_.asleep = true; return true;
    case Command::ButtonMode: settings_.button = (arguments[0] & 1) != 0; return true;
    case Command::Hemisphere:
        if (const auto h = protocol::hemisphereOfArguments(arguments[0], arguments[1]))
            settings_.hemisphere = *h;
        return true;
    case Command::AngleAlign: words3(settings_.angleAlign); return true;
    case Command::ReferenceFrame: words3(settings_.referenceFrame); return true;
    case Command::DistortionSetting: return true;
    default: return false;
    }
}

std::optional<VornReading> IsaUnit::appendRecord(double seconds, const std::vector<MetalObject>& metal, bool tag,
                                                 std::vector<uint16_t>& words)
{
    const ReportFrame frame {.hemisphere = settings_.hemisphere,
                             .referenceFrame = settings_.referenceFrame,
                             .angleAlign = settings_.angleAlign,
                             .rotateXyz = settings_.rotateXyz != 0,
                             .scalingInches = settings_.scalingCode == 1 ? 72.0 : 36.0};
    VornReading reading = fourteenBitReading(readingOf(sensor_.measure(seconds, metal).pose, frame));
    reading.button = config_.buttonValue;
    const protocol::RecordShape shape {.dataFormat = settings_.dataFormat,
                                       .button = settings_.button,
                                       .tag = tag,
                                       .checkTag = false,
                                       .address = config_.address};
    uint8_t bytes[protocol::kMaxRecordBytes];
    const std::size_t length = protocol::encodeIsaRecord(reading, shape, bytes);
    for (std::size_t i = 0; i + 1 < length; i += 2)
        words.push_back(protocol::readBigEndian16(&bytes[i]));
    VornReading sent {};
    if (!protocol::decodeIsaRecord(std::span(bytes, length), shape, sent).ok())
        return std::nullopt;
    return sent;
}

} // namespace vorn::sim

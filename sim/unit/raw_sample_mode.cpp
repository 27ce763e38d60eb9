#include "unit/raw_sample_mode.h"

#include "protocol/factory_commands.h"
#include "protocol/word_codec.h"

#include <algorithm>
#include <array>
#include <string>

namespace vorn::sim {

namespace {

namespace vp = vorn::protocol;

uint16_t addressOf(const ParsedCommand& command)
{
    return vp::readWord(vp::Connection::Rs232, command.arguments.data());
}

void putWord(std::vector<uint8_t>& out, uint16_t word)
{
    std::array<uint8_t, 2> bytes {};
    vp::putWord(vp::Connection::Rs232, word, bytes.data());
    out.insert(out.end(), bytes.begin(), bytes.end());
}

} // namespace

double fullScaleVolts(uint16_t softwareRevision)
{
    return softwareRevision < 0x0200 ? 2.5 : 5.0;
}

RawSampleMode::RawSampleMode(const RawSampleModeConfig& config, const MagneticEnvironment& environment, uint64_t seed)
    : config_(config), memory_(config.prom, config.softwareRevision),
      channels_(environment, fullScaleVolts(config.softwareRevision), seed)
{
}

void RawSampleMode::reset()
{
    memory_.reset();
    rateCount_ = kRateCountAtPowerUp;
    active_ = false;
}

double RawSampleMode::sampleRate() const
{
    return std::min(config_.sampleClockHertz / rateCount_, kMaxSampleRate);
}

void RawSampleMode::setRateCount(uint16_t count, const Log& log)
{
    if (count == 0) {
        log("refused raw sample rate count 0");
        return;
    }
    rateCount_ = count;
    if (config_.sampleClockHertz / count > kMaxSampleRate) {
        log("raw sample rate count " + std::to_string(count) + " asks for more than the converter's " +
            std::to_string(static_cast<int>(kMaxSampleRate)) + " samples a second");
    }
}

bool RawSampleMode::execute(const ParsedCommand& command, std::vector<uint8_t>& out, const Log& log)
{
    switch (command.command) {
    case vp::kRawSampleModeReset: active_ = false; return true;
    case vp::kRateCount:
        setRateCount(addressOf(command), log);
        active_ = true;
        return true;
    case vp::kRamWrite:
        memory_.writeRam(addressOf(command), command.arguments[2]);
        active_ = true;
        return true;
    case vp::kRamByteRead: out.push_back(memory_.ramByte(addressOf(command))); return true;
    case vp::kPromByteRead: out.push_back(memory_.promByte(addressOf(command))); return true;
    case vp::kRamWordRead: putWord(out, memory_.ramWord(addressOf(command))); return true;
    default: break;
    }
    if (const auto k = vp::addressTableIndex(command.command)) {
        if (const auto entry = memory_.addressTableEntry(*k)) {
            putWord(out, *entry);
        } else {
            log("address table entry asked of firmware that has none");
        }
        return true;
    }
    return false;
}

void RawSampleMode::startRecording(double seconds)
{
    recordingStart_ = seconds;
}

void RawSampleMode::appendSamples(uint64_t first, std::size_t count, std::vector<uint8_t>& out)
{
    const double rate = sampleRate();
    const uint8_t code = memory_.receiverMux();
    for (uint64_t index = first; index < first + count; ++index) {
        const double seconds = recordingStart_ + static_cast<double>(index) / rate;
        putWord(out, static_cast<uint16_t>(channels_.sample(code, index, seconds)));
    }
}

} // namespace vorn::sim

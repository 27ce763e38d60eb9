// The unit's raw-sample mode (the firmware's factory test mode) as the noise collection drives
// it: memory reads and writes, the variable address table, the raw-sample rate count, and the
// raw samples of the channel the receiver multiplexer byte selects. Setting the rate count or writing RAM enters the
// mode; a stream command then sends raw samples instead of records, until "?".
#pragma once

#include "model/magnetic_environment.h"
#include "unit/log.h"
#include "unit/memory_map.h"
#include "unit/parsed_command.h"
#include "unit/raw_channels.h"

#include <cstdint>
#include <vector>

namespace vorn::sim {

struct RawSampleModeConfig {
    PromConfig prom;
    uint16_t softwareRevision = 0x0343;
    double sampleClockHertz = 680400.0; // raw samples per second = clock / rate count
};

class RawSampleMode {
public:
    static constexpr uint16_t kRateCountAtPowerUp = 200;
    // Beyond this the converter cannot keep up, whatever the count asks.
    static constexpr double kMaxSampleRate = 20000.0;

    RawSampleMode(const RawSampleModeConfig& config, const MagneticEnvironment& environment, uint64_t seed);

    // Back to the state after power-up: out of test mode, RAM as the firmware sets it.
    void reset();

    // Runs a test command and appends its answer; false when `command` is none.
    bool execute(const ParsedCommand& command, std::vector<uint8_t>& out, const Log& log);

    bool active() const { return active_; }
    double sampleRate() const;
    uint8_t receiverMux() const { return memory_.receiverMux(); }
    const MemoryMap& memory() const { return memory_; }

    // A recording starts: sample times count from `seconds`.
    void startRecording(double seconds);
    // Appends samples `first` .. `first + count - 1` of the recording, two bytes each,
    // least significant first.
    void appendSamples(uint64_t first, std::size_t count, std::vector<uint8_t>& out);

private:
    void setRateCount(uint16_t count, const Log& log);

    RawSampleModeConfig config_;
    MemoryMap memory_;
    RawChannels channels_;
    uint16_t rateCount_ = kRateCountAtPowerUp;
    bool active_ = false;
    double recordingStart_ = 0.0;
};

// Full-scale level of the converter for a software revision.
double fullScaleVolts(uint16_t softwareRevision);

} // namespace vorn::sim

// One simulated unit: its settings, its sensor, and its answers to the commands that
// concern it alone. Commands that concern the whole FVB are the vornset's.
#pragma once

#include "model/sensor_model.h"
#include "unit/log.h"
#include "unit/parsed_command.h"
#include "unit/raw_sample_mode.h"
#include "unit/unit_config.h"
#include "unit/unit_settings.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vorn::sim {

class Unit {
public:
    Unit(const UnitConfig& config, const MagneticEnvironment& environment, uint64_t seed);

    const UnitConfig& config() const { return config_; }
    uint8_t address() const { return config_.address; }
    const UnitSettings& settings() const { return settings_; }
    UnitSettings& settings() { return settings_; }
    RawSampleMode& rawSampleMode() { return rawSampleMode_; }
    const RawSampleMode& rawSampleMode() const { return rawSampleMode_; }

    // Back to the state after power-up.
    void reset();

    uint16_t statusWord() const;
    // This unit's byte in the system status answer.
    uint8_t unitStatusByte() const;
    bool extendedRange() const;
    double scalingInches(bool extendedRangeSystem) const;

    // Appends the answer to examine value for parameters this unit answers itself;
    // false for unknown parameters and the FVB-wide ones (system status, auto-configuration).
    bool examine(uint8_t parameter, std::vector<uint8_t>& out) const;

    // Applies change value; logs values it refuses.
    void change(uint8_t parameter, std::span<const uint8_t> value, const Log& log);

    // Applies a command without an answer; false when it is not such a command.
    bool applySetting(const ParsedCommand& command, const Log& log);

    // Appends one data record measured at `seconds`: packed words, button byte,
    // distortion byte while metal detection is on, and the address tag when asked.
    void appendRecord(double seconds, const std::vector<MetalObject>& metal, bool extendedRangeSystem, bool tag,
                      std::vector<uint8_t>& out);

    // The record length on the wire as appendRecord writes it.
    std::size_t recordLength(bool tag) const;

private:
    void setMeasurementRateCount(uint16_t count, const Log& log);
    uint16_t measurementRateCount() const;
    void setMetalDetectionField(uint8_t field, uint8_t value);

    UnitConfig config_;
    UnitSettings settings_;
    SensorModel sensor_;
    RawSampleMode rawSampleMode_;
};

} // namespace vorn::sim

// One simulated unit as an ISA board sees it: its settings, its answers to
// examine value in whole words (high byte first, a one-byte value in the low
// half), the change-value and setting commands, and its data records.
#pragma once

#include "isa/isa_config.h"
#include "model/sensor_model.h"

#include <vorn/vorn.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vorn::sim {

struct IsaUnitSettings {
    uint8_t filtersOff = 0; // bit set: that filter is off
    uint8_t rotateXyz = 0;
    uint8_t suddenOutputLock = 0;
    uint8_t scalingCode = 1; // 0: 36 in, 1: 72 in
    std::array<uint16_t, 7> alphaMin {};
    std::array<uint16_t, 7> alphaMax {};
    std::array<uint16_t, 7> vm {};
    uint8_t dataFormat = 4;
    bool button = false;
    uint8_t reportRate = 1;
    uint8_t hemisphere = 0;
    std::array<int16_t, 3> referenceFrame {};
    std::array<int16_t, 3> angleAlign {};
    uint8_t crtSync = 0;
    uint8_t transmitter = 0x10;
    uint16_t measurementRateWord = 0; // rate x 256
    uint16_t measurementRateCount = 0;
    bool groupMode = false;
    bool dataReady = false;
    uint8_t fvbUnits = 0;
    bool asleep = false;
    bool streaming = false;
};

class IsaUnit {
public:
    IsaUnit(const IsaUnitConfig& config, uint64_t seed);

    const IsaUnitConfig& config() const { return config_; }
    uint8_t address() const { return config_.address; }
    const IsaUnitSettings& settings() const { return settings_; }
    IsaUnitSettings& settings() { return settings_; }
    void reset();

    uint16_t statusWord() const;
    uint8_t unitStatusByte() const;
    double measurementRate() const;

    // The answer words to examine value, or false for parameters this unit
    // does not answer by itself (the vornset status is the rack's).
    bool examine(uint8_t parameter, std::vector<uint16_t>& words) const;
    // Applies change value with its value bytes as they came off the board.
    void change(uint8_t parameter, std::span<const uint8_t> value);
    // Applies a command without an answer; false when it is not one.
    bool apply(uint8_t command, std::span<const uint8_t> arguments);

    // Appends one record measured at `seconds` among `metal`, as the board delivers it;
    // returns its reading as the host decodes it, for the sent-readings log once the
    // board really queues the record.
    std::optional<VornReading> appendRecord(double seconds, const std::vector<MetalObject>& metal, bool tag,
                                            std::vector<uint16_t>& words);

private:
    IsaUnitConfig config_;
    IsaUnitSettings settings_;
    SensorModel sensor_;
};

} // namespace vorn::sim

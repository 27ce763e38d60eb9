#pragma once
// Everything Humgather keeps for the whole run: what the user chose at start-up and what the
// unit's answers set. One object, passed to every dialogue.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vorn/humgather/firmware_addresses.h"

namespace vorn::humgather {

enum class WorkMode : std::int32_t { NoiseAnalysis = 0, Operation = 1 };

inline constexpr int kStreamFlagStreaming = 2;
inline constexpr float kStandardAngleScale = 180.0f / 32768.0f;

struct MetalDetectionEntry {
    std::int16_t flag = 0;
    std::int16_t sensitivity = 0;
    std::int16_t offset = 0;
    std::int16_t slope = 0;
    std::int16_t alpha = 0;
};

struct ProgramSettings {
    WorkMode workMode = WorkMode::NoiseAnalysis;
    std::int32_t baudRate = 0;
    std::string portName; // "COM1".."COM5"; empty until chosen
    unsigned portNumber = 0;

    // Vornsets and addressing.
    int vornsetsToRead = 1;
    int vornsetsToExamine = 1;
    int fvbUnitCount = 1;
    bool multipleVornsets = false;
    std::vector<std::int16_t> addresses {0}; // entry i-1 holds address list entry i
    int currentAddress = 0;
    int addressingAnswer = 0; // 0: never asked; 1 normal; anything else expanded
    bool expandedPrefixes = false;

    // Group mode and metal detection, as the examine and change menus leave them.
    int groupModeFlag = 0;
    int unitsInGroup = 0;
    MetalDetectionEntry metal;

    // The operational menu.
    int streamFlag = 0;
    int statisticsFlag = 0;
    std::int32_t samplesToAverage = 2000;
    float delayBetweenAverages = 0.0f;
    std::int32_t menuChoice = 0;

    // Scales and facts of the unit.
    float positionScale = 36.0f / 32768.0f;
    float angleScale = kStandardAngleScale;
    float fullScaleVolts = 5.0f;
    float softwareRevision = 0.0f;
    int crystalSpeedMHz = 0;
    float timerTickMicroseconds = 0.0f;
    FirmwareAddresses firmware;

    // Entries kept between questions as their next defaults.
    float measurementRate = 0.0f;
    std::array<float, 7> tableEntries {};
    std::int16_t receiverMuxCode = 0;
    std::int32_t followUpChoice = 0;
    std::int32_t echoTestChoice = 0;
    std::string echoText;

    int extraRecordBytes() const { return metal.flag != 0 ? 1 : 0; }
    bool streaming() const { return streamFlag == kStreamFlagStreaming; }
};

} // namespace vorn::humgather

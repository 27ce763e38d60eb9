// What a unit remembers between commands; a reset brings it back to these defaults.
#pragma once

#include <array>
#include <cstdint>

namespace vorn::sim {

struct UnitSettings {
    uint8_t dataFormat = 4;
    bool button = false;
    bool groupMode = false;
    uint8_t reportRate = 1;
    uint8_t hemisphere = 0;
    uint8_t filterOffBits = 0; // bit set: filter off
    std::array<uint16_t, 7> alphaMin {688, 688, 688, 688, 688, 688, 688};
    std::array<uint16_t, 7> alphaMax {29491, 29491, 29491, 29491, 29491, 29491, 29491};
    std::array<uint16_t, 7> vm {2, 4, 8, 32, 64, 256, 512};
    uint16_t scalingCode = 0; // 0: 36 inches, 1: 72 inches
    std::array<int16_t, 3> referenceFrame {};
    std::array<int16_t, 3> angleAlign {};
    uint8_t suddenOutputLock = 0;
    uint8_t rotateXyz = 0;
    uint8_t transmitterMode = 0;
    uint8_t lineFrequency = 60;
    uint8_t errorMask = 0;
    std::array<uint16_t, 5> metalDetection {}; // flag, sensitivity, offset, slope, alpha
    bool dataReady = false;
    uint8_t fvbUnits = 0; // set by auto-configuration; 0: every configured unit
    bool running = true;
    uint8_t crtSync = 0;
    uint8_t activeTransmitter = 0;
    double measurementRate = 103.3;
    bool streaming = false; // reported in status word bit 0
};

} // namespace vorn::sim

// Telling unit models apart: by the ten-character model string a unit answers
// to examine value 15 (RS232, ISA) or by the controller's type code (TCP/IP),
// and whether a unit's firmware can detect distortion.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornscope {

constexpr int kModelUnknown = 11;
constexpr int kModelPellVorn2 = 2; // the ISA model that is woken through PV2

int modelCodeFromString(std::string_view modelString);
int modelCodeFromStatus2(std::uint8_t status2);

// Firmware revision: high byte major, low byte minor.
bool supportsDistortionDetection(std::uint16_t softwareRevision);
// Units whose distortion record is read back at wake-up (3.83 and later 3.x).
bool hasReadableDistortionRecord(std::uint16_t softwareRevision);

} // namespace vornscope

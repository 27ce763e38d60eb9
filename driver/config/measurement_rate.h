// The measurement rate as a unit holds it: rate x 256 in one word (units of
// revision 3.63 and later), or a count of crystal cycles (earlier units).
#pragma once

#include <cstdint>
#include <optional>

namespace vorn::rate {

// Revisions up to 3.62 (0x033E) take the rate as a count.
constexpr uint16_t kLastCountRevision = 830;

// The word that carries `hz` for a unit of this revision and crystal speed,
// or nullopt when the rate is not a positive finite number, or the word
// would not fit 16 bits (or be 0), or a count is needed but the crystal speed is 0.
std::optional<uint16_t> wordForRate(double hz, uint16_t softwareRevision, uint16_t crystalSpeedMhz);

// The rate that a count read from an early unit means; nullopt for a
// crystal speed of 0, which cannot give a rate.
std::optional<double> rateOfCount(uint16_t count, uint16_t crystalSpeedMhz);
double rateOfWord(uint16_t word);

} // namespace vorn::rate

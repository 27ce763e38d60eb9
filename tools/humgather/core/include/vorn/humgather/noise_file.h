#pragma once
// Raw samples of the unit's test mode and the noise file Humsift reads: one value in volts per
// line, in the plain number format, lines ended by CR LF, nothing else in the file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace vorn::humgather {

class SerialLink;

inline constexpr const char* kNoiseFileName = "SENSORnoise.dat";
inline constexpr std::int32_t kMaxNoiseSamples = 32768;
inline constexpr int kDiscardedSamples = 20; // what the unit sends first after the stream command

// A raw sample word: least significant byte first, signed, no phasing bit.
std::int16_t sampleFromBytes(std::uint8_t first, std::uint8_t second);
// Receives samples.size() raw sample words, in blocks, as the unit streams them back to back.
void receiveSamples(SerialLink& link, std::span<std::int16_t> samples);
float sampleVolts(std::int16_t sample, float fullScaleVolts);
// One line of the file, with its CR LF.
std::string noiseFileLine(float volts);

// Writes the values in place of the file (see replaced_file.h); false (and errorText set) when
// the file cannot be written whole, the old one then being unchanged.
bool writeNoiseFile(const std::filesystem::path& path, std::span<const float> volts, std::string& errorText);

} // namespace vorn::humgather

#include "vorn/humgather/noise_file.h"

#include <algorithm>
#include <array>

#include "vorn/console/basic_number.h"
#include "vorn/humgather/replaced_file.h"
#include "vorn/humgather/serial_link.h"

namespace vorn::humgather {

std::int16_t sampleFromBytes(std::uint8_t first, std::uint8_t second)
{
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(second * 256 + first));
}

void receiveSamples(SerialLink& link, std::span<std::int16_t> samples)
{
    constexpr std::size_t kBlockSamples = 4096;
    std::array<std::uint8_t, 2 * kBlockSamples> bytes {};
    while (!samples.empty()) {
        const std::size_t n = std::min(samples.size(), kBlockSamples);
        link.receive(std::span(bytes.data(), 2 * n));
        for (std::size_t i = 0; i < n; ++i)
            samples[i] = sampleFromBytes(bytes[2 * i], bytes[2 * i + 1]);
        samples = samples.subspan(n);
    }
}

float sampleVolts(std::int16_t sample, float fullScaleVolts)
{
    return static_cast<float>(sample) * fullScaleVolts / 32768.0f;
}

std::string noiseFileLine(float volts)
{
    return console::basicNumber(volts) + "\r\n";
}

bool writeNoiseFile(const std::filesystem::path& path, std::span<const float> volts, std::string& errorText)
{
    std::string text;
    text.reserve(volts.size() * 12);
    for (float v : volts)
        text += noiseFileLine(v);
    return replaceFile(path, text, errorText);
}

} // namespace vorn::humgather

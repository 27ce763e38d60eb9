// Feeds arbitrary text to Humsift's noise-file reader, as a file named at its prompt would be,
// then takes the samples through the transform the way the noise analysis does. The reader
// keeps to its maximum and to samples a recording can hold, and the spectrum has one bin per
// frequency.
#include "fuzz_check.h"
#include "vorn/humsift/noise_file.h"
#include "vorn/humsift/noise_spectrum.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <sstream>

using vorn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vorn::humsift;
    FuzzedDataProvider input(data, size);
    const std::size_t maxValues = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
    const bool hann = input.ConsumeBool();
    std::istringstream text(input.ConsumeRemainingBytesAsString());
    NoiseFile file = readNoiseValues(text, maxValues);
    check(file.values.size() <= maxValues);
    check(!file.moreThanMaximum || file.values.size() == maxValues);
    // Only samples a recording can hold are kept; lines that are not samples are counted.
    for (const double value : file.values)
        check(std::fabs(value) <= kLargestSampleVolts);
    check((file.badLines == 0) == (file.firstBadLine == 0));
    const std::size_t used = largestPowerOfTwoAtMost(file.values.size());
    check(used <= file.values.size() && (used & (used - 1)) == 0);
    if (used < 2)
        return 0;
    file.values.resize(used);
    const Spectrum spectrum = computeSpectrum(file.values, 1000.0, hann ? Window::Hann : Window::None);
    check(spectrum.frequency.size() == spectrum.amplitude.size());
    return 0;
}

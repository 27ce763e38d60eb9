// Feeds arbitrary text to Humsift's spectrum-file reader, as a file named at its prompt would
// be, then orders the pairs as the analysis does. Every pair read keeps both numbers, and the
// ordered spectrum rises in frequency.
#include "fuzz_check.h"
#include "vorn/humsift/noise_spectrum_file.h"

#include <sstream>
#include <string>

using vorn::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    using namespace vorn::humsift;
    std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
    FrequencyPairs pairs = readFrequencyPairs(text);
    check(pairs.first.size() == pairs.second.size());
    check(pairs.first.size() <= size);
    sortByFirst(pairs);
    const Spectrum spectrum = spectrumFromPairs(pairs);
    check(spectrum.binCount() == pairs.first.size());
    for (std::size_t k = 1; k < spectrum.binCount(); ++k)
        check(!(spectrum.frequency[k] < spectrum.frequency[k - 1]));
    return 0;
}

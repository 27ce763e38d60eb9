// humsift-make-noise: writes a realistic noise file, as Humgather records it, for trying Humsift
// without a unit: a DC level, mains hum with harmonics, a monitor's refresh tone and white noise,
// sampled at the RS232 noise rate and quantised to the unit's 16-bit samples.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <limits>
#include <numbers>
#include <optional>
#include <random>
#include <string>

#include "vorn/console/basic_number.h"
#include "vorn/console/file_replace.h"
#include "vorn/console/leading_number.h"

namespace {

struct Options {
    std::string path = "SENSORnoise.dat";
    double samples = 32768;
    double sampleRate = 3402.0;
    double mains = 60.0;
    double monitor = 75.0;
    double seed = 1;
};

constexpr const char* kUsage = "usage: humsift-make-noise [--samples N] [--rate HZ] [--mains 50|60]\n"
                               "                          [--monitor HZ] [--seed S] [FILE]\n"
                               "Writes FILE (default SENSORnoise.dat): one value in volts per line, CR LF line\n"
                               "ends. N is 1 to 32768 (default 32768), HZ the sample rate, 10 to 100000\n"
                               "(default 3402), the monitor tone above 0 and below half the rate (default 75),\n"
                               "S a whole number from 0 to 4294967295 (default 1).\n";

struct Limit {
    double low;
    double high;
    bool whole;
    const char* range; // the allowed values in words
};

// Reads `text` into `value` when it is one number within the limit; otherwise says why.
std::optional<std::string> readOption(const std::string& name, const std::string& text, const Limit& limit,
                                      double& value)
{
    const auto number = vorn::console::parseWholeNumber(text);
    const bool fits =
        number && *number >= limit.low && *number <= limit.high && (!limit.whole || *number == std::floor(*number));
    if (!fits)
        return name + " must be " + limit.range + ", not \"" + text + "\"";
    value = *number;
    return std::nullopt;
}

struct NumberOption {
    const char* name;
    double Options::*field;
    Limit limit;
};

const NumberOption kNumberOptions[] = {
    {"--samples", &Options::samples, {1, 32768, true, "a whole number from 1 to 32768"}},
    {"--rate", &Options::sampleRate, {10, 100000, false, "a rate from 10 to 100000 Hz"}},
    {"--mains", &Options::mains, {50, 60, true, "50 or 60"}},
    {"--monitor", &Options::monitor, {1e-9, std::numeric_limits<double>::max(), false, "a frequency above 0 Hz"}},
    {"--seed", &Options::seed, {0, 4294967295.0, true, "a whole number from 0 to 4294967295"}},
};

const NumberOption* numberOption(const std::string& name)
{
    for (const NumberOption& option : kNumberOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

// The problem with the command line, if any.
std::optional<std::string> parse(int argc, char** argv, Options& o, bool& help)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help") {
            help = true;
            return std::nullopt;
        }
        if (const NumberOption* option = numberOption(arg)) {
            if (i + 1 >= argc)
                return arg + " needs a value";
            if (auto problem = readOption(arg, argv[++i], option->limit, o.*(option->field)))
                return problem;
            continue;
        }
        if (arg.empty() || arg[0] == '-')
            return "unknown option \"" + arg + "\"";
        o.path = arg;
    }
    if (o.mains != 50 && o.mains != 60)
        return "--mains must be 50 or 60, not " + vorn::console::basicNumberDigits(o.mains);
    if (o.monitor >= o.sampleRate / 2)
        return std::string("--monitor must lie below half the sample rate");
    return std::nullopt;
}

std::string noiseText(const Options& o)
{
    constexpr double kFullScale = 5.0;
    std::mt19937 random(static_cast<std::uint32_t>(o.seed));
    std::normal_distribution<double> white(0.0, 0.004);
    const double w = 2.0 * std::numbers::pi / o.sampleRate;
    std::string text;
    const int count = static_cast<int>(o.samples);
    for (int n = 0; n < count; ++n) {
        const double t = n;
        double volts = 1.2;                                   // the receiver's DC level
        volts += 0.060 * std::sin(w * o.mains * t);           // mains hum
        volts += 0.012 * std::sin(w * 2 * o.mains * t + 0.4); // its harmonics
        volts += 0.025 * std::sin(w * 3 * o.mains * t + 1.1);
        volts += 0.008 * std::sin(w * 5 * o.mains * t + 2.0);
        volts += 0.015 * std::sin(w * o.monitor * t + 0.7); // a monitor's refresh
        volts += white(random);
        const long sample = std::lround(std::clamp(volts * 32768.0 / kFullScale, -32768.0, 32767.0));
        const float quantised = static_cast<float>(sample) * static_cast<float>(kFullScale) / 32768.0f;
        text += vorn::console::basicNumber(quantised) + "\r\n";
    }
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    bool help = false;
    if (const auto problem = parse(argc, argv, o, help)) {
        std::cerr << "humsift-make-noise: " << *problem << "\n" << kUsage;
        return 2;
    }
    if (help) {
        std::cout << kUsage;
        return 0;
    }
    const vorn::console::FileWriteResult written = vorn::console::replaceFile(o.path, noiseText(o));
    if (!written) {
        std::cerr << "humsift-make-noise: cannot write " << o.path << ": " << written.reason << "\n";
        return 1;
    }
    std::cout << "wrote " << static_cast<int>(o.samples) << " samples to " << o.path << "\n";
    return 0;
}

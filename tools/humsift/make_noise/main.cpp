// humsift-make-noise: writes a realistic noise file, as Humgather records it, for trying Humsift
// without a unit: a DC level, mains hum with harmonics, a monitor's refresh tone and white noise,
// sampled at the RS232 noise rate and quantised to the unit's 16-bit samples.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <numbers>
#include <random>
#include <string>

#include "vorn/console/basic_number.h"

namespace {

struct Options {
    std::string path = "SENSORnoise.dat";
    int samples = 32768;
    double sampleRate = 3402.0;
    double mains = 60.0;
    double monitor = 75.0;
    unsigned seed = 1;
};

constexpr const char* kUsage =
    "usage: humsift-make-noise [--samples N] [--rate HZ] [--mains 50|60] [--monitor HZ] [--seed S] [FILE]\n"
    "Writes FILE (default SENSORnoise.dat): one value in volts per line, CR LF line ends.\n";

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--samples" && hasValue) o.samples = std::atoi(argv[++i]);
        else if (arg == "--rate" && hasValue) o.sampleRate = std::atof(argv[++i]);
        else if (arg == "--mains" && hasValue) o.mains = std::atof(argv[++i]);
        else if (arg == "--monitor" && hasValue) o.monitor = std::atof(argv[++i]);
        else if (arg == "--seed" && hasValue) o.seed = static_cast<unsigned>(std::atol(argv[++i]));
        else if (!arg.empty() && arg[0] != '-') o.path = arg;
        else return false;
    }
    return o.samples >= 1 && o.samples <= 32768 && o.sampleRate > 0 && o.mains > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::cerr << kUsage;
        return 2;
    }
    constexpr double kFullScale = 5.0;
    std::mt19937 random(o.seed);
    std::normal_distribution<double> white(0.0, 0.004);
    const double w = 2.0 * std::numbers::pi / o.sampleRate;
    std::string text;
    for (int n = 0; n < o.samples; ++n) {
        const double t = n;
        double volts = 1.2;                                           // the receiver's DC level
        volts += 0.060 * std::sin(w * o.mains * t);                   // mains hum
        volts += 0.012 * std::sin(w * 2 * o.mains * t + 0.4);         // its harmonics
        volts += 0.025 * std::sin(w * 3 * o.mains * t + 1.1);
        volts += 0.008 * std::sin(w * 5 * o.mains * t + 2.0);
        volts += 0.015 * std::sin(w * o.monitor * t + 0.7);           // a monitor's refresh
        volts += white(random);
        const long sample = std::lround(std::clamp(volts * 32768.0 / kFullScale, -32768.0, 32767.0));
        const float quantised = static_cast<float>(sample) * static_cast<float>(kFullScale) / 32768.0f;
        text += vorn::console::basicNumber(quantised) + "\r\n";
    }
    std::ofstream out(o.path, std::ios::binary | std::ios::trunc);
    if (!(out << text)) {
        std::cerr << "humsift-make-noise: cannot write " << o.path << "\n";
        return 1;
    }
    std::cout << "wrote " << o.samples << " samples to " << o.path << "\n";
    return 0;
}

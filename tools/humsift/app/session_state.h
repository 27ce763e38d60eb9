#pragma once
// Everything Humsift keeps for the whole run: the user's settings with their defaults, and the
// samples, spectrum and filter response the menus work on.
#include <cstdint>
#include <string>
#include <vector>

#include "vorn/humsift/noise_spectrum.h"
#include "vorn/humsift/notch_filter.h"
#include "vorn/humsift/rate_scan.h"
#include "vorn/humsift/sample_window.h"

namespace vorn::humsift {

enum class AnalysisMode { Fast = 0, Engineering = 1 };

// The filter whose response H is in force: what was last computed, whatever has been asked since.
struct FilterInEffect {
    bool off = false;
    double rate = 103.3;
    NotchZeros zeros;
    bool blownUp = false; // a zero on the rate: the constants are not finite, figures read 9999
};

struct SavedNotch {
    std::int32_t option = 0;
    NotchZeros zeros;
    NotchConstants constants;
};

struct SessionState {
    // Asked before the defaults are set, kept over restarts.
    std::int32_t mode = 0;
    std::int32_t maxPoints = 32768;
    std::int32_t interface = 0; // 0 RS232, 1 ISA

    std::string rawFile = "SENSORnoise.dat";
    std::string spectrumFile = "SENSORpsd.dat";
    std::string rateFile = "BestRate.dat";
    float sampleFrequency = 3402.0f;
    std::int32_t window = 0; // 0 Hann, 1 none
    float rate = 103.3f;
    float firstZero = 60.0f;
    float secondZero = 70.0f;
    std::int32_t notchOption = 0;
    std::int32_t notchOff = 0;
    float bandStart = 80.0f;
    float bandEnd = 140.0f;
    std::int32_t halfWidth = 10;
    bool dataLoaded = false;

    NotchConstants constants;
    SavedNotch saved;
    std::vector<double> samples; // as read, before mean removal and window
    Spectrum spectrum;
    std::vector<double> response; // H[k]
    FilterInEffect filter;
    double plotXMax = 0.0;

    // Answers that later questions offer again.
    std::int32_t psdToFile = 0;
    std::int32_t rateToFile = 0;
    std::int32_t continueNotchOff = 1;
    std::int32_t menuChoice = 0;
    std::string plotTitle;
    std::string rateTitle;

    bool fast() const { return mode != static_cast<std::int32_t>(AnalysisMode::Engineering); }
    Window windowKind() const { return window == 1 ? Window::None : Window::Hann; }
    NotchSetting notchSetting() const
    {
        return {static_cast<NotchOption>(notchOption), {firstZero, secondZero}, notchOff == 1};
    }
    // Back to the defaults, as at every start of an analysis.
    void setDefaults();
};

} // namespace vorn::humsift

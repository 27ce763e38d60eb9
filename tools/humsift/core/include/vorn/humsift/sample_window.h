#pragma once
// Preparing the samples for the transform: mean removal and the Hann window.
#include <span>

namespace vorn::humsift {

enum class Window { Hann = 0, None = 1 };

void removeMean(std::span<double> samples);

// Multiplies sample i by 0.5 + 0.5 cos((h + i) 2 pi / (N - 1)), h = (N - 1) / 2 rounded half to
// even, pi taken as 3.14159265: the window of the instrument's own analysis, kept to the digit
// so spectra agree with those computed before.
void applyHannWindow(std::span<double> samples);

} // namespace vorn::humsift

#include "vorn/humsift/notch_filter.h"

#include <cmath>
#include <numbers>

namespace vorn::humsift {

double flatSecondZero(double rate, double firstZero)
{
    return (rate / 2.0 + firstZero) / 2.0;
}

NotchZeros zerosForOption(NotchOption option, NotchZeros given, double rate)
{
    switch (option) {
    case NotchOption::Mains60: return {60.0, 70.0};
    case NotchOption::Mains50: return {50.0, 60.0};
    case NotchOption::BothZeros: return given;
    case NotchOption::FirstZero: return {given.first, flatSecondZero(rate, given.first)};
    }
    return given;
}

NotchConstants notchConstants(double rate, NotchZeros zeros)
{
    const double c1 = std::cos(2.0 * std::numbers::pi * zeros.first / rate);
    const double c2 = std::cos(2.0 * std::numbers::pi * zeros.second / rate);
    NotchConstants k;
    const double d = 8.0 * (1.0 - c1) * (1.0 - c2);
    k.notch1 = 1.0 / d;
    k.notch2 = (1.0 - 2.0 * c1 - 2.0 * c2) / d;
    k.notch3 = 0.5 - (k.notch1 + k.notch2);
    const double a0 = 16.0 * (1.0 - c1) * (1.0 - c1) * (1.0 - c2) * (1.0 - c2);
    const double b = 3.0 * (1.0 - 2.0 * (c1 + c2));
    const double c =
        4.0 * (c1 * c1 * (1.0 - 2.0 * c2) + c2 * c2 * (1.0 - 2.0 * c1) + 4.0 * c1 * c2) + 8.0 * c1 * c1 * c2 * c2;
    k.f0 = a0 / (c + b);
    return k;
}

ResponsePolynomial responsePolynomial(const NotchConstants& k)
{
    return {4.0 * k.notch1, 2.0 * (k.notch2 - k.notch1), k.notch3 - k.notch2 - k.notch1};
}

double responseThetaStep(double lastFrequency, std::size_t binCount, double rate)
{
    return 2.0 * std::numbers::pi * lastFrequency / (static_cast<double>(binCount) * rate);
}

void filterResponse(const NotchConstants& constants, bool notchOff, double rate, std::span<const double> frequency,
                    std::span<double> response)
{
    const std::size_t bins = frequency.size() < response.size() ? frequency.size() : response.size();
    if (notchOff || bins == 0) {
        for (double& h : response)
            h = 1.0;
        return;
    }
    const ResponsePolynomial poly = responsePolynomial(constants);
    const double step = responseThetaStep(frequency[bins - 1], bins, rate);
    for (std::size_t k = 0; k < bins; ++k) {
        if (frequency[k] > rate) {
            response[k] = 1.0;
            continue;
        }
        const double c = std::cos(static_cast<double>(k) * step);
        const double p = (poly.a * c + poly.b) * c + poly.d;
        response[k] = std::sqrt(2.0) * std::sqrt(p * p * (1.0 + c));
    }
}

} // namespace vorn::humsift

#pragma once
// The model of the unit's wide notch filter: two zeros, three constants, and its response.
#include <span>

namespace vorn::humsift {

enum class NotchOption { Mains60 = 0, Mains50 = 1, BothZeros = 2, FirstZero = 3 };

struct NotchZeros {
    double first = 60.0;
    double second = 70.0;
};

struct NotchConstants {
    double notch1 = 0.0;
    double notch2 = 0.0;
    double notch3 = 0.0;
    double f0 = 0.0;
};

// The zeros an option stands for; options 2 and 3 keep the given first zero (and, for option 2,
// the given second one), option 3 computes the second zero for a flat response at `rate`.
NotchZeros zerosForOption(NotchOption option, NotchZeros given, double rate);
double flatSecondZero(double rate, double firstZero); // (rate / 2 + first) / 2

// Constants for measurement rate `rate`. A zero at the rate itself (or a multiple of it) divides by
// zero: the constants are then not finite, which the noise figures turn into their blow-up mark.
NotchConstants notchConstants(double rate, NotchZeros zeros);

// The response squared as a polynomial of c = cos(theta): H^2 = 2 (a c^2 + b c + d)^2 (1 + c).
struct ResponsePolynomial {
    double a, b, d;
};
ResponsePolynomial responsePolynomial(const NotchConstants& constants);

// theta of bin k is k * thetaStep: 2 pi f_last / (bins * rate), as the unit's filter tables do.
double responseThetaStep(double lastFrequency, std::size_t binCount, double rate);

// H[k] for every bin; 1 everywhere with the notch off, and 1 for bins above the rate.
void filterResponse(const NotchConstants& constants, bool notchOff, double rate, std::span<const double> frequency,
                    std::span<double> response);

} // namespace vorn::humsift

#include "vorn/humsift/fft.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace vorn::humsift {

bool isPowerOfTwo(std::size_t n)
{
    return n != 0 && (n & (n - 1)) == 0;
}

namespace {
Complex unitRoot(std::size_t k, std::size_t n)
{
    const double angle = -2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(n);
    return {std::cos(angle), std::sin(angle)};
}
} // namespace

ComplexFft::ComplexFft(std::size_t size) : size_(size), twiddles_(size / 2), bitReverse_(size)
{
    if (!isPowerOfTwo(size))
        throw std::invalid_argument("transform size must be a power of two");
    for (std::size_t k = 0; k < size / 2; ++k)
        twiddles_[k] = unitRoot(k, size);
    std::size_t bits = 0;
    while ((std::size_t {1} << bits) < size)
        ++bits;
    for (std::size_t i = 0; i < size; ++i) {
        std::size_t r = 0;
        for (std::size_t b = 0; b < bits; ++b)
            if (i & (std::size_t {1} << b))
                r |= std::size_t {1} << (bits - 1 - b);
        bitReverse_[i] = r;
    }
}

void ComplexFft::transform(std::span<Complex> data) const
{
    if (data.size() != size_)
        throw std::invalid_argument("transform data has the wrong size");
    for (std::size_t i = 0; i < size_; ++i)
        if (i < bitReverse_[i])
            std::swap(data[i], data[bitReverse_[i]]);
    for (std::size_t length = 2; length <= size_; length *= 2) {
        const std::size_t half = length / 2;
        const std::size_t stride = size_ / length;
        for (std::size_t start = 0; start < size_; start += length) {
            for (std::size_t j = 0; j < half; ++j) {
                const Complex t = twiddles_[j * stride] * data[start + j + half];
                data[start + j + half] = data[start + j] - t;
                data[start + j] += t;
            }
        }
    }
}

RealFft::RealFft(std::size_t sampleCount)
    : half_(sampleCount / 2), packed_(sampleCount / 2), separation_(sampleCount / 2)
{
    if (sampleCount < 2 || !isPowerOfTwo(sampleCount))
        throw std::invalid_argument("sample count must be a power of two, at least 2");
    for (std::size_t k = 0; k < sampleCount / 2; ++k)
        separation_[k] = unitRoot(k, sampleCount);
}

void RealFft::transform(std::span<const double> samples, std::span<Complex> spectrum)
{
    const std::size_t n = half_.size();
    if (samples.size() != 2 * n || spectrum.size() != n)
        throw std::invalid_argument("real transform data has the wrong size");
    for (std::size_t i = 0; i < n; ++i)
        packed_[i] = {samples[2 * i], samples[2 * i + 1]};
    half_.transform(packed_);
    // Z = E + iO with E, O the spectra of the even and odd samples; X[k] = E[k] + W^k O[k].
    for (std::size_t k = 0; k < n; ++k) {
        const Complex z = packed_[k];
        const Complex mirror = std::conj(packed_[k == 0 ? 0 : n - k]);
        const Complex even = 0.5 * (z + mirror);
        const Complex odd = Complex(0.0, -0.5) * (z - mirror);
        spectrum[k] = even + separation_[k] * odd;
    }
}

} // namespace vorn::humsift

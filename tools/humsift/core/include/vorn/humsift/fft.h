#pragma once
// The discrete Fourier transform X[k] = sum x[n] exp(-2 pi i k n / N), unnormalised.
#include <complex>
#include <cstddef>
#include <span>
#include <vector>

namespace vorn::humsift {

using Complex = std::complex<double>;

bool isPowerOfTwo(std::size_t n);

// In-place radix-2 transform of a fixed power-of-two size; the tables are made once.
class ComplexFft {
public:
    explicit ComplexFft(std::size_t size);
    std::size_t size() const { return size_; }
    void transform(std::span<Complex> data) const;

private:
    std::size_t size_;
    std::vector<Complex> twiddles_; // exp(-2 pi i k / size), k < size / 2
    std::vector<std::size_t> bitReverse_;
};

// Spectrum X[0 .. N/2 - 1] of N real samples, from one N/2-point complex transform of the even
// samples as real and the odd samples as imaginary parts, then separated into the real spectrum.
class RealFft {
public:
    explicit RealFft(std::size_t sampleCount); // a power of two, at least 2
    std::size_t sampleCount() const { return 2 * half_.size(); }
    void transform(std::span<const double> samples, std::span<Complex> spectrum);

private:
    ComplexFft half_;
    std::vector<Complex> packed_;
    std::vector<Complex> separation_; // exp(-2 pi i k / N), k < N / 2
};

} // namespace vorn::humsift

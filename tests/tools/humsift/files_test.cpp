#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>

#include "temp_dir.h"
#include "test_spectra.h"
#include "vorn/humsift/noise_file.h"
#include "vorn/humsift/noise_spectrum_file.h"
#include "vorn/humsift/output_target.h"
#include "vorn/humsift/rate_report.h"

namespace vorn::humsift {
namespace {

using testing::TempDir;

TEST(NoiseFileReading, SkipsEmptyLinesAndLeadingBlanks)
{
    TempDir dir;
    dir.write("plain.dat", " .5 \r\n-1.25 \r\n 2 \r\n 0 \r\n");
    dir.write("gaps.dat", "\r\n .5 \r\n\r\n   \r\n-1.25 \n\n 2 \r\n 0 ");
    const NoiseFile plain = readNoiseFile(dir.file("plain.dat"), 32768);
    const NoiseFile gaps = readNoiseFile(dir.file("gaps.dat"), 32768);
    ASSERT_TRUE(plain.opened);
    EXPECT_EQ(plain.values, (std::vector<double> {0.5, -1.25, 2.0, 0.0}));
    EXPECT_EQ(gaps.values, plain.values);
    EXPECT_FALSE(plain.moreThanMaximum);
    EXPECT_FALSE(readNoiseFile(dir.file("missing.dat"), 32768).opened);
}

TEST(NoiseFileReading, StopsAtTheMaximumAndSaysSo)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += " " + std::to_string(i) + " \r\n";
    dir.write("ten.dat", text);
    const NoiseFile capped = readNoiseFile(dir.file("ten.dat"), 8);
    EXPECT_EQ(capped.values.size(), 8u);
    EXPECT_TRUE(capped.moreThanMaximum);
    const NoiseFile exact = readNoiseFile(dir.file("ten.dat"), 10);
    EXPECT_FALSE(exact.moreThanMaximum);
}

TEST(NoiseFileReading, LinesThatAreNotSamplesAreCountedAndLeftOut)
{
    TempDir dir;
    dir.write("odd.dat", " .5 \r\nhello\r\n-1.25 \r\nnan\r\ninf\r\n12abc\r\n1,5\r\n 1e300 \r\n 2 \r\n-11\r\n 0 \r\n");
    const NoiseFile odd = readNoiseFile(dir.file("odd.dat"), 3);
    EXPECT_EQ(odd.values, (std::vector<double> {0.5, -1.25, 2.0})); // the limit counts samples only
    EXPECT_EQ(odd.badLines, 7u);
    EXPECT_EQ(odd.firstBadLine, 2u);
    EXPECT_TRUE(odd.moreThanMaximum);
    EXPECT_TRUE(odd.mostlyNotSamples());

    std::mt19937 random(7);
    std::string bytes(20000, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    dir.write("random.dat", bytes);
    const NoiseFile noise = readNoiseFile(dir.file("random.dat"), 32768);
    EXPECT_TRUE(noise.mostlyNotSamples());
    EXPECT_LT(noise.values.size(), 5u);
}

TEST(SpectrumFile, ExactBytesWithTheAmplitudeInTheSecondPrintZone)
{
    // The amplitude's sign place is column 15.
    EXPECT_EQ(spectrumFileLine(0.0, 0.0), " 0 " + std::string(11, ' ') + " 0 \r\n");
    EXPECT_EQ(spectrumFileLine(0.10382080078125, 12.5), " .1038208     "
                                                        " 12.5 \r\n");
    EXPECT_EQ(spectrumFileLine(1700.896240234375, 1234.56789), " 1700.896     "
                                                               " 1234.568 \r\n");
    // Plain decimals like the noise file, never an exponent.
    EXPECT_EQ(spectrumFileLine(0.2, 9.023994e-06), " .2           "
                                                   " .000009023994 \r\n");
    TempDir dir;
    const Spectrum s = testing::handSpectrum({3.0, 0.25}, 0.5);
    ASSERT_TRUE(writeSpectrumFile(dir.file("psd.dat"), s));
    EXPECT_EQ(dir.read("psd.dat"), " 0            "
                                   " 3 \r\n .5           "
                                   " .25 \r\n");
}

TEST(SpectrumFile, ReadsPairsBackAndSkipsComments)
{
    TempDir dir;
    const Spectrum s = testing::roomSpectrum(1024);
    ASSERT_TRUE(writeSpectrumFile(dir.file("psd.dat"), s));
    const auto pairs = readFrequencyPairs(dir.file("psd.dat"));
    ASSERT_TRUE(pairs);
    ASSERT_EQ(pairs->first.size(), 512u);
    for (std::size_t k = 0; k < 512; ++k) {
        EXPECT_NEAR(pairs->first[k], s.frequency[k], 1e-6 * s.frequency[k] + 1e-9);
        EXPECT_NEAR(pairs->second[k], s.amplitude[k], 1e-6 * s.amplitude[k] + 1e-9);
    }
    dir.write("mixed.dat", "# made by hand\n'comment\n  / another\n\n 80.5   2.25\n  90 \nnot a pair\n-1 3\n");
    const auto mixed = readFrequencyPairs(dir.file("mixed.dat"));
    ASSERT_TRUE(mixed);
    // A line without an amplitude is no pair (it used to read as an amplitude of 0).
    EXPECT_EQ(mixed->first, (std::vector<double> {80.5, -1.0}));
    EXPECT_EQ(mixed->second, (std::vector<double> {2.25, 3.0}));
    EXPECT_EQ(mixed->badLines, 2u);
    EXPECT_EQ(mixed->firstBadLine, 6u);
    EXPECT_FALSE(readFrequencyPairs(dir.file("missing.dat")));
    // Rates alone, without their figures, are not a spectrum to plot as flat zero.
    dir.write("rates.dat", "'title\r\n 80.1 \r\n 80.2 \r\n 80.3 \r\n 80.4x 2 \r\n 80.5 1e999 \r\n");
    const auto rates = readFrequencyPairs(dir.file("rates.dat"));
    ASSERT_TRUE(rates);
    EXPECT_TRUE(rates->first.empty());
    EXPECT_EQ(rates->badLines, 5u);
    EXPECT_TRUE(rates->mostlyNotPairs());
}

TEST(OutputFiles, ReplacedOnlyWhenCompleteAndTheReasonIsToldOtherwise)
{
    TempDir dir;
    dir.write("BestRate.dat", "old");
    ASSERT_TRUE(console::replaceFile(dir.file("BestRate.dat"), "new"));
    EXPECT_EQ(dir.read("BestRate.dat"), "new");
    const console::FileWriteResult missing = console::replaceFile(dir.file("no/such/folder.dat"), "x");
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.reason, "No such file or directory");
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(console::replaceFile(dir.file("folder"), "x"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // nothing left beside
}

TEST(OutputFiles, TheRecordingIsNeverAnOutputAndOtherFilesAreTold)
{
    TempDir dir;
    dir.write("SENSORnoise.dat", " .5 \r\n");
    dir.write("notes.txt", "my notes\n");
    dir.write("psd.dat", spectrumFileText(testing::handSpectrum({3.0, 0.25}, 0.5)));
    RateReport report;
    report.ranked = {{100.0, 2.0, 0, 0.0}};
    ASSERT_TRUE(writeRateFile(dir.file("BestRate.dat"), report));
    dir.write("picture.BMP", "BM....");
    const std::vector<std::string> analysed = {dir.file("SENSORnoise.dat")};
    EXPECT_EQ(classifyOutputTarget(dir.file("SENSORnoise.dat"), analysed), OutputTarget::AnalysedFile);
    EXPECT_EQ(classifyOutputTarget(dir.path().string() + "/./SENSORnoise.dat", analysed), OutputTarget::AnalysedFile);
    EXPECT_EQ(classifyOutputTarget(dir.file("SENSORnoise.dat"), {}), OutputTarget::OtherFile);
    EXPECT_EQ(classifyOutputTarget(dir.file("notes.txt"), analysed), OutputTarget::OtherFile);
    EXPECT_EQ(classifyOutputTarget(dir.file("psd.dat"), analysed), OutputTarget::OwnOutput);
    EXPECT_EQ(classifyOutputTarget(dir.file("BestRate.dat"), analysed), OutputTarget::OwnOutput);
    EXPECT_EQ(classifyOutputTarget(dir.file("picture.BMP"), analysed), OutputTarget::OwnOutput);
    EXPECT_EQ(classifyOutputTarget(dir.file("new.dat"), analysed), OutputTarget::NewFile);
}

class RateFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    static RateReport report(ScanKind kind)
    {
        RateReport r;
        r.title = "Lab 3";
        r.when = 1'700'000'000; // 22:13:20 on 11-14-2023
        r.halfWidth = 10;
        r.kind = kind;
        r.ranked = {{105.17, 84.0, 45, 84.6612}, {12345.6, 1.0, 80, 10000.0}};
        return r;
    }
};

TEST_F(RateFile, ExactBytesOfARateScan)
{
    EXPECT_EQ(rateFileText(report(ScanKind::CurrentNotch)),
              "'Lab 3\r\n'\r\n'22:13:20  11-14-2023\r\n'Frequencies averaged together +/- 10 \r\n"
              "'Hann Window Applied\r\n'Wide Notch Filter Applied\r\n'\r\n"
              "'Average amplitude data around target Measurement rate\r\n'\r\n"
              "'   Vorn\r\n'Measurement   Noise \r\n'   Rate       Figure\r\n'\r\n"
              " 105.17      84.66    \r\n%12345.60    %10000.00    \r\n");
}

TEST_F(RateFile, OptimisingScansAddTheZeros)
{
    RateReport tracking = report(ScanKind::TrackingZero);
    tracking.ranked.pop_back();
    tracking.window = Window::None;
    const std::string text = rateFileText(tracking);
    EXPECT_NE(text.find("'No Window Applied\r\n'Optimized Tracking Notch Zeroes at each rate\r\n"), std::string::npos);
    EXPECT_NE(text.find("'Measurement   Noise     Tracking Notch\r\n'   Rate       Figure     Fz1      Fz2\r\n"),
              std::string::npos);
    // Second zero printed as (rate / 2 + first) / 2 = 48.79.
    EXPECT_NE(text.find(" 105.17      84.66      45.00      48.79    \r\n"), std::string::npos);
    RateReport off = report(ScanKind::BothZeros);
    off.notchOff = true;
    EXPECT_NE(rateFileText(off).find("'No Wide Notch Filter Applied\r\n"), std::string::npos);
    TempDir dir;
    ASSERT_TRUE(writeRateFile(dir.file("BestRate.dat"), tracking));
    EXPECT_EQ(dir.read("BestRate.dat"), text);
    const auto pairs = readFrequencyPairs(dir.file("BestRate.dat")); // the rate file reads as pairs
    ASSERT_TRUE(pairs);
    EXPECT_EQ(pairs->first, (std::vector<double> {105.17}));
    EXPECT_EQ(pairs->second, (std::vector<double> {84.66}));
    // Values too wide for their column come back whole.
    ASSERT_TRUE(writeRateFile(dir.file("wide.dat"), report(ScanKind::CurrentNotch)));
    const auto wide = readFrequencyPairs(dir.file("wide.dat"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->first, (std::vector<double> {105.17, 12345.6}));
    EXPECT_EQ(wide->second, (std::vector<double> {84.66, 10000.0}));
}

} // namespace
} // namespace vorn::humsift

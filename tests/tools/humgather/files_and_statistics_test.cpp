// Statistics, plausibility checks, the noise file and the position/angle data file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "vorn/humgather/noise_file.h"
#include "vorn/humgather/noise_statistics.h"
#include "vorn/humgather/plausibility.h"
#include "vorn/humgather/pose_data_file.h"
#include "vorn/humgather/replaced_file.h"

namespace vorn::humgather {
namespace {

TEST(HumgatherStatistics, OneValueHasNoSpread)
{
    const std::array<float, 1> one {1.25f};
    const Statistics s = statisticsOf(one);
    EXPECT_DOUBLE_EQ(s.mean, 1.25);
    EXPECT_DOUBLE_EQ(s.maximum, 1.25);
    EXPECT_DOUBLE_EQ(s.minimum, 1.25);
    EXPECT_DOUBLE_EQ(s.standardDeviation, 0);
    EXPECT_DOUBLE_EQ(s.peakToPeak, 0);
}

TEST(HumgatherStatistics, PopulationDeviationAndPeakToPeak)
{
    const std::array<float, 4> values {2, 4, 4, 6};
    const Statistics s = statisticsOf(values);
    EXPECT_DOUBLE_EQ(s.mean, 4);
    EXPECT_DOUBLE_EQ(s.standardDeviation, std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(s.peakToPeak, 4);
    EXPECT_EQ(statisticsOf({}).mean, 0); // nothing to average is not a division by zero
}

TEST(HumgatherStatistics, LargeConstantBlockGivesNoNegativeVariance)
{
    StatisticsAccumulator a;
    for (int i = 0; i < 32766; ++i)
        a.add(32767 * 0.1);
    // Single sums cancel badly here; the result must still be a small real number.
    EXPECT_GE(a.result().standardDeviation, 0);
    EXPECT_LT(a.result().standardDeviation, 1e-2);
}

TEST(HumgatherPlausibility, ChecksAreIndependent)
{
    struct Case {
        double mean, peakToPeak;
        bool small, large, quiet;
    };
    for (const Case& c : {Case {0.04, 0.1, true, true, false}, Case {1.0, 0.1, false, false, false},
                          Case {1.0, 2.0, false, true, false}, Case {1.0, 0.001, false, false, true}}) {
        Statistics s;
        s.mean = c.mean;
        s.peakToPeak = c.peakToPeak;
        const auto report = checkPlausibility(s);
        auto has = [&report](const char* line) {
            return std::find(report.lines.begin(), report.lines.end(), line) != report.lines.end();
        };
        EXPECT_EQ(has("Possibly Bad Data. Mean is too small"), c.small) << c.mean << " " << c.peakToPeak;
        EXPECT_EQ(has("Bad Data. Variation too large"), c.large) << c.mean << " " << c.peakToPeak;
        EXPECT_EQ(has("Possibly Bad Data. Variation too small"), c.quiet) << c.mean << " " << c.peakToPeak;
        EXPECT_EQ(report.badData, c.small || c.large || c.quiet);
    }
}

TEST(HumgatherPlausibility, SummaryInThePicture)
{
    Statistics s;
    s.mean = 1.23456;
    s.standardDeviation = 0.01;
    s.peakToPeak = 0.0625;
    EXPECT_EQ(noiseSummaryLines(s)[1], "  1.2346   0.0100   0.0625 ");
}

TEST(HumgatherNoiseFile, SampleLines)
{
    struct Case {
        std::uint8_t first, second;
        const char* line;
    };
    for (const Case& c : {Case {0x00, 0x80, "-5 \r\n"}, Case {0xFF, 0x7F, " 4.999847 \r\n"}, Case {0, 0, " 0 \r\n"},
                          Case {0xD2, 0x04, " .1882935 \r\n"}, Case {0x00, 0xC0, "-2.5 \r\n"},
                          Case {0x01, 0x00, " .0001525879 \r\n"}}) {
        const std::int16_t sample = sampleFromBytes(c.first, c.second);
        EXPECT_EQ(noiseFileLine(sampleVolts(sample, 5.0f)), c.line) << int(c.first) << "," << int(c.second);
    }
    EXPECT_EQ(sampleFromBytes(0x00, 0x80), -32768);
    EXPECT_EQ(noiseFileLine(sampleVolts(-32768, 2.5f)), "-2.5 \r\n");
}

TEST(HumgatherNoiseFile, WholeFileAndUnwritablePlace)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("humgather-noise-" + std::to_string(std::random_device {}()));
    std::filesystem::create_directories(dir);
    const std::array<float, 3> volts {0.5f, -0.25f, 0};
    std::string error;
    ASSERT_TRUE(writeNoiseFile(dir / kNoiseFileName, volts, error)) << error;
    std::ifstream in(dir / kNoiseFileName, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), " .5 \r\n-.25 \r\n 0 \r\n");
    EXPECT_FALSE(writeNoiseFile(dir / "no-such-folder" / kNoiseFileName, volts, error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(HumgatherReplacedFile, OldFileStaysUntilTheNewOneIsComplete)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("humgather-replace-" + std::to_string(std::random_device {}()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "data.txt";
    std::ofstream(file, std::ios::binary) << "old";
    std::string error;
    // Finding out whether the name can be written leaves the file alone.
    ASSERT_TRUE(canReplace(file, error)) << error;
    auto content = [&file] {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(content(), "old");
    EXPECT_FALSE(canReplace(dir, error));
    EXPECT_FALSE(canReplace(dir / "no-such-folder" / "x", error));
    EXPECT_FALSE(canReplace("", error));
    ASSERT_TRUE(replaceFile(file, "new", error)) << error;
    EXPECT_EQ(content(), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1); // nothing left beside it
    std::filesystem::remove_all(dir);
}

TEST(HumgatherPoseDataFile, LineOfTheExample)
{
    const std::string line = poseDataLine({1.5, -12.25, 0, 90, -45, 180}, std::nullopt);
    EXPECT_EQ(line, "   1.50,   -12.25,     0.00,    90.00,   -45.00,   180.00\r\n");
    EXPECT_EQ(line.size() - 2, 57u);
}

TEST(HumgatherPoseDataFile, AlphaFollowsRollAndWideValuesAreMarked)
{
    EXPECT_EQ(poseDataLine({0, 0, 0, 0, 0, -1}, std::int16_t {16384}),
              "   0.00,     0.00,     0.00,     0.00,     0.00,    -1.00,   0.500\r\n");
    EXPECT_EQ(poseDataLine({10000, 0, 0, 0, 0, 0}, std::nullopt).substr(0, 9), "%10000.00");
}

} // namespace
} // namespace vorn::humgather

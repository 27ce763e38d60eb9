// What a simulated unit answers, byte for byte, to the command set.
#include "sim_fixture.h"

#include "protocol/rs232_record.h"
#include "protocol/unit_status.h"

#include <gtest/gtest.h>

using namespace vorn::sim;
using namespace vorn::sim::test;
namespace vp = vorn::protocol;

namespace {

uint16_t word(const Bytes& b)
{
    return static_cast<uint16_t>(b.at(0) | (b.at(1) << 8));
}

} // namespace

TEST(SimExamine, AnswerLengthsAndCodings)
{
    auto sim = startSimulator(vornsetConfig(3));
    PtyClient line(sim->linePath(1));
    struct Case {
        uint8_t parameter;
        std::size_t length;
    };
    for (const auto& c :
         {Case {0, 2},   Case {1, 2},  Case {2, 2},  Case {3, 2},   Case {4, 2},   Case {5, 14}, Case {6, 2},
          Case {7, 2},   Case {10, 1}, Case {11, 1}, Case {12, 14}, Case {13, 14}, Case {14, 1}, Case {15, 10},
          Case {17, 1},  Case {18, 1}, Case {19, 1}, Case {20, 1},  Case {25, 2},  Case {26, 2}, Case {27, 2},
          Case {28, 10}, Case {29, 1}, Case {35, 1}, Case {36, 14}, Case {50, 5}}) {
        const Bytes answer = line.ask({'O', c.parameter}, c.length);
        EXPECT_EQ(answer.size(), c.length) << "parameter " << int(c.parameter);
    }
    EXPECT_TRUE(line.readFor(std::chrono::milliseconds(50)).empty()) << "no answer may be longer";
    EXPECT_EQ(line.ask({'O', 1}, 2), (Bytes {3, 67}));                          // integer part first
    EXPECT_EQ(word(line.ask({'O', 7}, 2)), static_cast<uint16_t>(103.3 * 256)); // rate x 256, low byte first
    const Bytes model = line.ask({'O', 15}, 10);
    EXPECT_EQ(std::string(model.begin(), model.end()), "6DKVA     ");
    const uint16_t status = word(line.ask({'O', 0}, 2));
    EXPECT_TRUE(status & vp::status_word::kMaster);
    EXPECT_TRUE(status & vp::status_word::kRunning);
    EXPECT_EQ(vp::dataFormatOfStatusWord(status), 4);
    const Bytes system = line.ask({'O', 36}, 14);
    EXPECT_EQ(system[0], 0xE1); // master: accessible, running, sensor, transmitter
    EXPECT_EQ(system[2], 0xE0);
    EXPECT_EQ(system[3], 0x00); // no unit 4
}

TEST(SimExamine, SystemStatusLengthFollowsAddressingMode)
{
    for (const auto& [mode, length] : {std::pair {0, 14}, {1, 30}, {2, 126}}) {
        auto config = vornsetConfig(2);
        config.units[0].addressingMode = static_cast<uint8_t>(mode);
        auto sim = startSimulator(config);
        PtyClient line(sim->linePath(1));
        EXPECT_EQ(line.ask({'O', 36}, static_cast<std::size_t>(length)).size(), static_cast<std::size_t>(length));
        EXPECT_TRUE(line.readFor(std::chrono::milliseconds(50)).empty()) << "mode " << mode;
        EXPECT_EQ(line.ask({'O', 19}, 1), (Bytes {static_cast<uint8_t>(mode)}));
        const bool expandedBit = word(line.ask({'O', 0}, 2)) & vp::status_word::kExpandedAddressing;
        EXPECT_EQ(expandedBit, mode == 1);
    }
}

TEST(SimChange, ValuesComeBackOnExamine)
{
    auto sim = startSimulator(vornsetConfig(1));
    PtyClient line(sim->linePath(1));
    line.send({'P', 7, 0x00, 0x32}); // 50 Hz as 12800, low byte first
    EXPECT_EQ(word(line.ask({'O', 7}, 2)), 12800);
    line.send({'P', 3, 1, 0});
    EXPECT_EQ(word(line.ask({'O', 3}, 2)), 1);
    line.send({'P', 3, 2, 0}); // refused: scaling stays 72
    EXPECT_EQ(word(line.ask({'O', 3}, 2)), 1);
    line.send({'P', 4, 5, 0});
    EXPECT_EQ(word(line.ask({'O', 4}, 2)), 5);
    Bytes table = {'P', 5};
    for (uint8_t i = 0; i < 7; ++i) {
        table.insert(table.end(), {static_cast<uint8_t>(i + 1), 0x02});
    }
    line.send(table);
    EXPECT_EQ(line.ask({'O', 5}, 14), Bytes(table.begin() + 2, table.end()));
    line.send({'P', 35, 1});
    EXPECT_EQ(line.ask({'O', 35}, 1), Bytes {1});
    line.send({'s', 2, 77}); // distortion sensitivity switches metal detection on
    const Bytes metal = line.ask({'O', 28}, 10);
    EXPECT_EQ(metal[2], 77);
    EXPECT_GE(metal[0], 2);
    line.send({'X'});
    EXPECT_EQ(vp::dataFormatOfStatusWord(word(line.ask({'O', 0}, 2))), 3);
    const auto settings = sim->unitSettings(1);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->dataFormat, 3);
    EXPECT_NEAR(settings->measurementRate, 50.0, 1e-9);
}

TEST(SimRouting, PrefixesReachUnitsBehindTheMaster)
{
    auto config = vornsetConfig(3);
    config.units[1].softwareRevision = 0x0340;
    config.units[2].addressingMode = 0;
    auto sim = startSimulator(config);
    PtyClient line(sim->linePath(1));
    EXPECT_EQ(line.ask({0xF2, 'O', 1}, 2), (Bytes {3, 64}));
    EXPECT_EQ(line.ask({0xA0, 3, 'O', 1}, 2), (Bytes {3, 67})); // super-expanded form
    const uint16_t slave = word(line.ask({0xF3, 'O', 0}, 2));
    EXPECT_FALSE(slave & vp::status_word::kMaster);
    line.send({0xF2, 'V'}); // unit 2 to position only
    EXPECT_EQ(vp::dataFormatOfStatusWord(word(line.ask({0xF2, 'O', 0}, 2))), 1);
    EXPECT_EQ(sim->unitSettings(2)->dataFormat, 1);
    EXPECT_EQ(sim->unitSettings(1)->dataFormat, 4);
    line.send({0xF9, 'O', 1}); // nobody at address 9
    EXPECT_TRUE(line.readFor(std::chrono::milliseconds(100)).empty());
    EXPECT_THROW(sim->line(2), std::out_of_range); // unit 2 has no line of its own
}

TEST(SimRecords, PointRecordsDecodeInEveryFormat)
{
    auto sim = startSimulator(vornsetConfig(1));
    PtyClient line(sim->linePath(1));
    const std::pair<char, uint8_t> formats[] = {{'V', 1}, {'W', 2}, {'X', 3}, {'Y', 4}, {'Z', 5}, {'\\', 7}, {']', 8}};
    for (const auto& [command, format] : formats) {
        for (bool button : {false, true}) {
            line.send({static_cast<uint8_t>(command), 'M', static_cast<uint8_t>(button)});
            const vp::RecordShape shape {.dataFormat = format, .button = button};
            const std::size_t length = vp::recordLength(vp::Connection::Rs232, shape);
            const Bytes record = line.ask({'B'}, length);
            ASSERT_EQ(record.size(), length) << "format " << int(format);
            VornReading reading {};
            EXPECT_TRUE(vp::decodeRs232Record(record, shape, reading).ok());
            for (std::size_t i = 1; i < record.size(); ++i) {
                EXPECT_EQ(record[i] & 0x80, 0) << "phasing bit only on the first byte";
            }
        }
    }
}

TEST(SimRecords, GroupModeTagsEveryUnitAndTheMasterFromRevision364)
{
    for (const auto& [revision, masterTag] : {std::pair<uint16_t, bool> {0x033F, false}, {0x0340, true}}) {
        auto config = vornsetConfig(3);
        config.units[0].softwareRevision = revision;
        auto sim = startSimulator(config);
        PtyClient line(sim->linePath(1));
        line.send({'P', 35, 1});
        line.send({0xF2, ']'});    // unit 2: position/quaternion, 14 bytes
        line.send({0xF3, 'M', 1}); // unit 3 appends its button byte
        const std::size_t expected = 12 + (masterTag ? 1 : 0) + 14 + 1 + 12 + 1 + 1;
        const Bytes frame = line.ask({'B'}, expected);
        ASSERT_EQ(frame.size(), expected) << std::hex << revision;
        EXPECT_TRUE(line.readFor(std::chrono::milliseconds(50)).empty());
        std::size_t at = 12;
        if (masterTag) {
            EXPECT_EQ(frame[at++], 1);
        }
        EXPECT_EQ(frame[at] & 0x80, 0x80);
        at += 14;
        EXPECT_EQ(frame[at++], 2);
        at += 13;
        EXPECT_EQ(frame[at], 3);
    }
}

TEST(SimRecords, SensorlessUnitSendsNothing)
{
    auto config = vornsetConfig(2);
    config.units[1].sensor = false;
    auto sim = startSimulator(config);
    PtyClient line(sim->linePath(1));
    line.send({'P', 35, 1});
    EXPECT_EQ(line.ask({'B'}, 13).size(), 13u); // only the master's record and tag
    EXPECT_TRUE(line.readFor(std::chrono::milliseconds(50)).empty());
    EXPECT_EQ(line.ask({'O', 36}, 14)[1], 0xC0); // unit 2: accessible and running, no sensor
}

TEST(SimRecords, MetalDetectionAddsADistortionByteThatRisesNearMetal)
{
    auto config = standAloneConfig();
    config.units[0].sensorModel.trajectory.kind = TrajectoryKind::Still;
    config.units[0].sensorModel.trajectory.center = {10, 0, 0};
    config.metal.push_back({{11, 0, 0}, 50});
    auto sim = startSimulator(config);
    PtyClient line(sim->linePath(0));
    EXPECT_EQ(line.ask({'B'}, 12).size(), 12u);
    EXPECT_TRUE(line.readFor(std::chrono::milliseconds(50)).empty());
    line.send({'s', 1, 0});
    const Bytes record = line.ask({'B'}, 13);
    ASSERT_EQ(record.size(), 13u);
    EXPECT_GT(record[12], 30);
}

TEST(SimRobustness, GarbageUnknownAndTruncatedCommandsAreLoggedAndSurvived)
{
    auto sim = startSimulator(vornsetConfig(2));
    PtyClient line(sim->linePath(1));
    line.send({0x01, 0x7F, 0xEF, 0xA0, 0x00, 'P'}); // unknown, impossible prefixes, truncated change
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(line.ask({'O', 1}, 2), (Bytes {3, 67}));
    const auto log = sim->logLines();
    const auto mentions = [&](const std::string& text) {
        return std::any_of(log.begin(), log.end(), [&](const auto& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(mentions("unknown command byte 0x01"));
    EXPECT_TRUE(mentions("prefix naming no unit"));
    EXPECT_TRUE(mentions("truncated"));
    const Bytes received = sim->received(1).bytes();
    EXPECT_EQ(received.front(), 0x01);
    EXPECT_EQ(received.back(), 1);
}

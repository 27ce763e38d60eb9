// The unit's test mode as a noise collection drives it, byte for byte: memory reads of the
// PROM text, date and address table, RAM writes that pick the raw channel, and the raw
// sample stream's pace and content.
#include "sim_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <thread>

using namespace vorn::sim;
using namespace vorn::sim::test;
using namespace std::chrono_literals;

namespace {

constexpr uint8_t kStream = 0x40;
constexpr uint16_t kMuxAddress318 = 0x01C6; // entry 6 of the address table
constexpr double kFullScale = 5.0;

uint16_t word(const Bytes& b, std::size_t at = 0)
{
    return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

Bytes lowHigh(uint16_t value)
{
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
}

Bytes command(uint8_t byte, uint16_t address, std::optional<uint8_t> value = std::nullopt)
{
    Bytes bytes {byte, static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8)};
    if (value) {
        bytes.push_back(*value);
    }
    return bytes;
}

std::string promText(PtyClient& line, uint16_t from, std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const Bytes b = line.ask(command('k', static_cast<uint16_t>(from + i)), 1);
        text += b.empty() ? '#' : static_cast<char>(b[0]);
    }
    return text;
}

std::vector<double> volts(const Bytes& bytes)
{
    std::vector<double> samples;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        samples.push_back(static_cast<int16_t>(word(bytes, i)) * kFullScale / 32768.0);
    }
    return samples;
}

double mean(const std::vector<double>& x)
{
    double sum = 0;
    for (double v : x) {
        sum += v;
    }
    return x.empty() ? 0 : sum / static_cast<double>(x.size());
}

// Amplitude of the component at `hertz` (one DFT bin, any frequency).
double amplitudeAt(const std::vector<double>& x, double hertz, double rate)
{
    const double m = mean(x);
    std::complex<double> sum {};
    for (std::size_t n = 0; n < x.size(); ++n) {
        sum += (x[n] - m) * std::polar(1.0, -2.0 * std::numbers::pi * hertz * static_cast<double>(n) / rate);
    }
    return 2.0 * std::abs(sum) / static_cast<double>(x.size());
}

// Enters test mode with rate count `count` on channel `mux`, streams, returns `samples` samples.
std::vector<double> record(PtyClient& line, uint16_t count, uint8_t mux, std::size_t samples)
{
    Bytes setup {'z', 'j'};
    for (uint8_t b : lowHigh(count)) {
        setup.push_back(b);
    }
    const Bytes write = command('e', kMuxAddress318, mux);
    setup.insert(setup.end(), write.begin(), write.end());
    setup.push_back(kStream);
    const Bytes raw = line.ask(setup, 2 * samples, 5000ms);
    line.send({'?'});
    line.readFor(100ms);
    return volts(raw);
}

std::unique_ptr<Simulator> benchUnit(SimulatorConfig config = standAloneConfig())
{
    return startSimulator(std::move(config));
}

} // namespace

TEST(SimRawSampleMode, PromTextCarriesTheNoticeAndTheDateSitsAtTheDateBase)
{
    struct Case {
        std::string notice;
        std::array<uint8_t, 3> date;
        std::string expectedNotice;
    };
    const std::string standard = "Copyright (c) Korvalt Inc.  All rights reserved";
    for (const auto& c : {Case {{}, {3, 15, 97}, standard}, Case {"Bench unit", {12, 31, 99}, "Bench unit"}}) {
        auto config = standAloneConfig();
        if (!c.notice.empty()) {
            config.units[0].prom.notice = c.notice;
            config.units[0].prom.date = c.date;
        }
        auto sim = benchUnit(config);
        PtyClient line(sim->linePath(0));
        const std::string text = promText(line, 8, 61);
        EXPECT_EQ(text.substr(0, 14), "Vorn rev 3.67 ");
        std::string expected = c.expectedNotice;
        expected.resize(47, ' ');
        EXPECT_EQ(text.substr(14), expected); // characters 15..61 are the notice
        const uint16_t dateBase = word(line.ask({0x80 + 14}, 2));
        const std::string date = promText(line, static_cast<uint16_t>(dateBase + 2), 3);
        EXPECT_EQ(Bytes(date.begin(), date.end()), Bytes(c.date.begin(), c.date.end()));
    }
}

TEST(SimRawSampleMode, AddressTableAndMultiplexerAddressFollowTheRevision)
{
    struct Case {
        const char* revision;
        uint16_t code;
        uint16_t muxAddress;
        bool table;
    };
    for (const auto& c : {Case {"3.67", 0x0343, kMuxAddress318, true}, Case {"3.18", 0x0312, kMuxAddress318, true},
                          Case {"3.17", 0x0311, 0x01B4, false}, Case {"3.00", 0x0300, 0x01B4, false},
                          Case {"2.80", 0x0250, 0x022B, false}, Case {"2.60", 0x023C, 0x0207, false}}) {
        SCOPED_TRACE(c.revision);
        auto config = standAloneConfig();
        config.units[0].softwareRevision = c.code;
        auto sim = benchUnit(config);
        PtyClient line(sim->linePath(0));
        if (c.table) {
            Bytes all;
            for (uint8_t k = 0; k < 20; ++k) {
                const Bytes entry = line.ask({static_cast<uint8_t>(0x80 + k)}, 2);
                all.insert(all.end(), entry.begin(), entry.end());
            }
            ASSERT_EQ(all.size(), 40u);
            EXPECT_EQ(word(all, 2 * 5), c.muxAddress);
        } else {
            EXPECT_TRUE(line.ask({0x85}, 2, 150ms).empty()) << "older firmware has no table";
        }
        // The multiplexer byte lives where the firmware keeps it: a write there is read back.
        line.send(command('e', c.muxAddress, 7));
        EXPECT_EQ(line.ask(command('d', c.muxAddress), 1), (Bytes {7}));
    }
}

TEST(SimRawSampleMode, RamWritesReadBackAsBytesAndLowFirstWords)
{
    auto sim = benchUnit();
    PtyClient line(sim->linePath(0));
    line.send(command('e', 0x0300, 0x34));
    line.send(command('e', 0x0301, 0x12));
    line.send(command('e', 0xFFFF, 0xAB));
    line.send(command('e', 0x0000, 0xCD));
    EXPECT_EQ(line.ask(command('d', 0x0301), 1), (Bytes {0x12}));
    EXPECT_EQ(line.ask(command('w', 0x0300), 2), (Bytes {0x34, 0x12}));
    EXPECT_EQ(line.ask(command('w', 0xFFFF), 2), (Bytes {0xAB, 0xCD})) << "a word at the top wraps to address 0";
    // The ALPHA value the firmware keeps (entry 18) starts at 0.5.
    const uint16_t alpha = word(line.ask({0x80 + 17}, 2));
    EXPECT_EQ(word(line.ask(command('w', alpha), 2)), 16384);
    EXPECT_TRUE(line.readFor(50ms).empty()) << "writes answer nothing";
}

TEST(SimRawSampleMode, RawStreamPaceFollowsTheRateCount)
{
    for (const auto& [count, expected] : {std::pair<uint16_t, double> {200, 3402.0}, {400, 1701.0}}) {
        auto sim = benchUnit();
        PtyClient line(sim->linePath(0));
        Bytes start {'j'};
        for (uint8_t b : lowHigh(count)) {
            start.push_back(b);
        }
        start.push_back(kStream);
        line.send(start);
        line.read(200, 1000ms); // let the stream settle
        const auto begin = std::chrono::steady_clock::now();
        const std::size_t bytes = line.readFor(1000ms).size();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        EXPECT_EQ(bytes % 2, 0u) << "whole samples";
        EXPECT_NEAR(static_cast<double>(bytes) / 2.0 / seconds, expected, expected * 0.05) << "count " << count;
    }
}

TEST(SimRawSampleMode, HumPeakSitsAtTheConfiguredMainsFrequency)
{
    constexpr double kRate = 680400.0 / 200;
    for (const auto& [mains, other] : {std::pair {60.0, 50.0}, {50.0, 60.0}}) {
        auto config = standAloneConfig();
        config.environment.mainsHertz = mains;
        auto sim = benchUnit(config);
        PtyClient line(sim->linePath(0));
        const auto x = record(line, 200, 0, 4096);
        ASSERT_EQ(x.size(), 4096u);
        const double hum = amplitudeAt(x, mains, kRate);
        EXPECT_NEAR(hum, config.environment.humVolts, 0.01) << mains << " Hz";
        EXPECT_GT(hum, 5.0 * amplitudeAt(x, other, kRate)) << mains << " Hz against " << other << " Hz";
        EXPECT_GT(amplitudeAt(x, 3 * mains, kRate), 5.0 * amplitudeAt(x, 3 * other, kRate));
        EXPECT_NEAR(amplitudeAt(x, 75.0, kRate), 0.01, 0.004) << "the monitor's tone";
    }
}

TEST(SimRawSampleMode, RamWriteToTheMultiplexerSelectsTheRawChannel)
{
    auto sim = benchUnit();
    PtyClient line(sim->linePath(0));
    struct Case {
        uint8_t mux;
        double level;
    };
    for (const auto& c : {Case {0, 1.0}, Case {1, 0.7}, Case {2, 0.45}, Case {4, 2.5}, Case {5, 0.5}, Case {7, 0.0}}) {
        const auto x = record(line, 200, c.mux, 600);
        ASSERT_EQ(x.size(), 600u) << "channel " << int(c.mux);
        EXPECT_NEAR(mean(x), c.level, 0.02) << "channel " << int(c.mux);
    }
}

TEST(SimRawSampleMode, StopEndsTheRawStreamAndRebootLeavesRawSampleMode)
{
    auto config = standAloneConfig();
    auto sim = benchUnit(config);
    PtyClient line(sim->linePath(0));
    ASSERT_EQ(record(line, 200, 2, 100).size(), 100u);
    EXPECT_TRUE(line.readFor(100ms).empty()) << "\"?\" ends the raw stream";

    line.send({'b'});
    const auto rebootStart = std::chrono::steady_clock::now();
    line.send({'O', 1}); // ignored while the unit reboots
    EXPECT_TRUE(line.readFor(200ms).empty());
    // The fixture's reboot lasts 300 ms; after it the unit answers and is out of test mode.
    std::this_thread::sleep_until(rebootStart + 400ms);
    EXPECT_EQ(line.ask({'O', 1}, 2), (Bytes {3, 67}));
    EXPECT_EQ(line.ask(command('d', kMuxAddress318), 1), (Bytes {0})) << "RAM as after power-up";
    const Bytes record = line.ask({kStream}, 1, 500ms);
    line.send({'B'});
    ASSERT_EQ(record.size(), 1u);
    EXPECT_TRUE(record[0] & 0x80) << "a data record with its phasing bit, not a raw sample";
}

TEST(SimRawSampleMode, ASlowLineLosesWholeSamplesNeverBytes)
{
    auto config = standAloneConfig();
    config.environment.noiseVolts = 0.0;
    config.environment.humVolts = 0.0;
    config.environment.tones.clear();
    auto sim = benchUnit(config);
    PtyClient line(sim->linePath(0), 9600); // carries 480 of the 3402 samples a second
    const auto x = record(line, 200, 0, 400);
    ASSERT_EQ(x.size(), 400u);
    for (double v : x) {
        ASSERT_NEAR(v, 1.0, 0.001) << "a sample out of step with its bytes";
    }
}

TEST(SimLineCheck, DipSwitchTestsAnswerAsTheirTestAsks)
{
    struct Case {
        LineCheckMode mode;
        Bytes sent;
        Bytes expected;
    };
    Bytes block(256);
    for (int i = 0; i < 256; ++i) {
        block[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
    }
    for (const auto& c :
         {Case {LineCheckMode::Echo, {'H', 'i', '\r'}, {'H', 'i', '\r'}},
          Case {LineCheckMode::OneNumber, {'1', '1', '1'}, {0, 1, 2}}, Case {LineCheckMode::Block, {'1'}, block},
          Case {LineCheckMode::Ok, {}, {'O', 'K', '\r', 'O', 'K', '\r'}}}) {
        auto config = standAloneConfig();
        config.units[0].lineCheck = c.mode;
        auto sim = benchUnit(config);
        PtyClient line(sim->linePath(0));
        EXPECT_EQ(line.ask(c.sent, c.expected.size(), 1500ms), c.expected) << int(c.mode);
        if (c.mode != LineCheckMode::Ok) {
            EXPECT_TRUE(line.ask({'O', 1}, 2, 100ms) != Bytes({3, 67})) << "no commands during a line test";
        }
    }
}

// Raw noise collection: the unit's test mode streams one receiver channel's raw samples, which
// go to the noise file, get checked for plausibility and are handed to Humsift.
#include <array>
#include <ctime>
#include <string>

#include "dialogues.h"
#include "protocol/factory_commands.h"
#include "vorn/console/basic_number.h"
#include "vorn/console/clock_text.h"
#include "vorn/humgather/interrupt_stop.h"
#include "vorn/humgather/noise_file.h"
#include "vorn/humgather/plausibility.h"
#include "vorn/humgather/replaced_file.h"

namespace vorn::humgather {

namespace {

constexpr std::int16_t kDefaultRateCount = 200;
constexpr std::uint32_t kRequiredBaudRate = 115200;

// Samples and volts of one collection, allocated once for the whole run.
struct NoiseBuffers {
    std::array<std::int16_t, kMaxNoiseSamples> samples {};
    std::array<float, kMaxNoiseSamples> volts {};
};

void prerequisiteBlock(Session& s, std::initializer_list<std::string> lines)
{
    s.console.printLine(std::string(74, '*'));
    s.console.printLine();
    for (const auto& line : lines)
        s.console.printLine(line);
    s.console.printLine();
    s.console.printLine(std::string(73, '*'));
    s.console.printLine();
    s.console.printLine();
    s.waitForKey();
}

bool prerequisitesMet(Session& s)
{
    const ProgramSettings& st = s.settings;
    bool met = true;
    if (st.softwareRevision < 3.5f) {
        prerequisiteBlock(s, {" Your Vorn has PROM software rev " + console::basicNumber(st.softwareRevision),
                              " You need at least rev 3.50 to run this program.",
                              " Please contact Korvalt technical support to get a PROM memory upgrade"});
        met = false;
    }
    if (st.crystalSpeedMHz < 40) {
        prerequisiteBlock(s, {" Your Vorn has CRYSTAL speed " + console::basicNumber(st.crystalSpeedMHz) + " MHz",
                              " You need at least 40 MHz to run this program.",
                              " Please contact Korvalt technical support to get an electronics unit upgrade"});
        met = false;
    }
    if (static_cast<std::uint32_t>(st.baudRate) < kRequiredBaudRate) {
        prerequisiteBlock(s, {" Your Vorn's RS232 Baud rate is set too slow for this program",
                              " to collect sensor data fast enough.  Refer to the user's manual",
                              " for setting the Vorn's dip switches to select 115K baud."});
        met = false;
    }
    return met;
}

void showSetUpInstructions(Session& s)
{
    s.console.clearScreen();
    s.console.printLine("******************  SET UP ************************");
    s.console.printLine();
    const std::initializer_list<std::initializer_list<const char*>> items {
        {"0.  DISCONNECT ANY NETWORK CABLES FROM YOUR COMPUTER TO INSURE ENOUGH SPEED"},
        {"1.  Position the sensor anywhere in the area where it will be used"},
        {"2.  Orientation of the sensor is not important"},
        {"3.  Do not put the sensor on the floor or on any other object that may", "    contain metal"},
        {"4.  Make sure the sensor won't move during measurements.  Place a non-metalic",
         "    object on the sensor, if necessary, to make sure the sensor doesn't move."},
        {"5.  Select all of the default settings below unless you want to change the",
         "    file name for storing data"},
    };
    for (const auto& item : items) {
        for (const char* line : item)
            s.console.printLine(line);
        s.console.printLine();
    }
    s.console.printLine(std::string(51, '*'));
    s.console.printLine();
    s.console.printLine();
    s.console.printLine();
    s.waitForKey();
}

void chooseReceiverChannel(Session& s, bool operation)
{
    ProgramSettings& st = s.settings;
    if (operation) {
        s.console.clearScreen();
        s.console.printLine("***  select only the X or Y or Z  or ground channels,  NOT all channels ***");
        s.console.printLine("INPUT CODE TO CHANGE MUX SETTING");
        for (const char* line :
             {"X RECEIVER AXIS ( 0 )", "Y RECEIVER AXIS ( 1 )", "Z RECEIVER AXIS ( 2 )", "DRIVER CURRENT  ( 3 )",
              "2.5 V SUPPLY    ( 4 )", "0.5 V REF       ( 5 )", "0.05 V REF      ( 6 )", "GROUND          ( 7 )",
              "X,Y,Z RECEIVER CONTINUOUS  ( 8 )", "run Time_avrg_s   (64) have you set the timer ?"})
            s.console.printLine(line);
        st.receiverMuxCode = s.entry.askInt16("INPUT MUX CODE ", st.receiverMuxCode);
    } else {
        st.receiverMuxCode = 0;
        s.console.pause(1.0);
    }
    s.link.writeMemoryByte(st.firmware.receiverMux, static_cast<std::uint8_t>(st.receiverMuxCode));
    if (operation) {
        s.console.clearScreen();
        s.console.printLine("Now in Test mode without having to set dipswith 8 ");
    }
}

std::int32_t askSampleCount(Session& s)
{
    std::int32_t count = s.entry.askInt32("How many samples to collect into the file, 32768 is max ", kMaxNoiseSamples);
    if (count < 1 || count > kMaxNoiseSamples) {
        const std::int32_t used = count < 1 ? 1 : kMaxNoiseSamples;
        s.console.printLine("The file holds 1 to " + std::to_string(kMaxNoiseSamples) + " samples; collecting " +
                            std::to_string(used) + ".");
        // Seen before the screen moves on to the collection.
        s.waitForKey();
        count = used;
    }
    return count;
}

std::string timeNow()
{
    return console::timeOfDayText(std::time(nullptr));
}

// Collects into the file; returns whether the data looked bad.
bool collectIntoFile(Session& s, NoiseBuffers& buffers, const std::string& fileName, std::int32_t count)
{
    std::array<std::int16_t, kDiscardedSamples> discarded {};
    receiveSamples(s.link, discarded);
    const auto n = static_cast<std::size_t>(count);
    receiveSamples(s.link, std::span(buffers.samples.data(), n));
    s.link.sendByte(protocol::kStopStream);
    s.console.printLine("end collecting time " + timeNow());
    for (std::size_t i = 0; i < n; ++i)
        buffers.volts[i] = sampleVolts(buffers.samples[i], s.settings.fullScaleVolts);
    const std::span<const float> volts(buffers.volts.data(), n);
    std::string error;
    if (!writeNoiseFile(fileName, volts, error)) {
        s.console.printLine();
        s.console.printLine("The noise file could not be written: " + error);
        s.console.printLine("Nothing was saved (a file of that name is as it was); choose another name or folder.");
        s.waitForKey();
        return true;
    }
    const Statistics statistics = statisticsOf(volts);
    const PlausibilityReport report = checkPlausibility(statistics);
    s.console.clearScreen();
    s.printLines(report.lines);
    s.console.printLine();
    s.printLines(noiseSummaryLines(statistics));
    s.console.printLine();
    s.console.printLine();
    s.console.printLine();
    s.waitForKey();
    if (report.badData) {
        s.console.clearScreen();
        s.console.printLine("      ****** data just collected is possibly bad ******");
        s.console.printLine("    examine the ouput data file and recollect as required");
        s.waitForKey();
    }
    return report.badData;
}

void watchSamples(Session& s, bool printing)
{
    for (;;) {
        std::array<std::int16_t, 1> sample {};
        receiveSamples(s.link, sample);
        if (printing)
            s.console.printLine(console::basicNumber(sampleVolts(sample[0], s.settings.fullScaleVolts)));
        if (s.console.pollKey())
            break;
    }
    s.link.sendByte(protocol::kStopStream);
}

void leaveTestMode(Session& s)
{
    s.console.clearScreen();
    s.link.send(protocol::Command::HardRestart);
    s.console.printLine("please wait for a few seconds while Vorn reboots out of debug mode");
    s.console.pause(4.0);
    s.link.flushInput();
    s.link.sendByte(protocol::kRawSampleModeReset);
    s.console.clearScreen();
}

// One run of the collection, from "z" to the reboot; returns whether the data looked bad, or
// nothing when a prerequisite failed or the noise file cannot be created.
std::optional<bool> collectOnce(Session& s, NoiseBuffers& buffers, std::int32_t& toFile, std::int32_t& printing)
{
    const bool operation = s.settings.workMode == WorkMode::Operation;
    s.link.sendByte(protocol::kRawSampleModeReset);
    if (!prerequisitesMet(s))
        return std::nullopt;
    showSetUpInstructions(s);
    std::string fileName = kNoiseFileName;
    std::int32_t count = kMaxNoiseSamples;
    std::int16_t rateCount = kDefaultRateCount;
    s.console.clearScreen();
    s.link.flushInput();
    if (operation) {
        s.console.clearScreen();
        toFile = s.entry.askInt32("Ouput to a file( 0 ), No output to a file ( 1 ) ", toFile);
        if (toFile == 1) {
            s.console.clearScreen();
            printing = s.entry.askInt32("Don't print on screen as collection ( 0 ), print on screen ( 1 )  ", printing);
        }
    }
    const bool intoFile = toFile != 1;
    if (intoFile && operation) {
        s.console.clearScreen();
        fileName = s.entry.askText(" file name for sensor data ", fileName);
        count = askSampleCount(s);
    }
    // A name that cannot be written is known before the collection; the old file stays untouched
    // until the new one is complete.
    std::string error;
    while (intoFile && !canReplace(fileName, error)) {
        s.console.printLine("The file \"" + fileName + "\" cannot be written: " + error);
        if (!operation) {
            s.waitForKey();
            return std::nullopt;
        }
        fileName = s.entry.askText(" file name for sensor data ", fileName);
    }
    s.console.clearScreen();
    if (operation)
        rateCount = s.entry.askInt16("input output rate count 1000=1Khz, 500=2.8Hz, 200= 3.3KHz ", rateCount);
    // From here the unit is in its test mode until leaveTestMode() takes it out.
    const StopOnInterrupt stopOnInterrupt(s.link.descriptor());
    s.link.setRateCount(static_cast<std::uint16_t>(rateCount));
    chooseReceiverChannel(s, operation);

    bool bad = false;
    s.console.printLine("hit any key except M to start data collection");
    s.console.printLine("hit M to return to main menu");
    s.console.printLine("hit any key to stop data collection");
    if (!s.console.waitForKey().isLetter('M')) {
        s.console.clearScreen();
        s.console.printLine(" please wait, collecting data.....");
        s.console.printLine();
        s.console.printLine();
        s.console.printLine("start collecting time " + timeNow());
        s.link.send(protocol::Command::Stream);
        if (intoFile)
            bad = collectIntoFile(s, buffers, fileName, count);
        else
            watchSamples(s, printing == 1);
    }
    leaveTestMode(s);
    return bad;
}

} // namespace

void runNoiseCollection(Session& s)
{
    static NoiseBuffers buffers; // 192 KiB: kept off the stack, made once
    ProgramSettings& st = s.settings;
    std::int32_t toFile = 0;
    std::int32_t printing = 0;
    for (;;) {
        const std::optional<bool> bad = collectOnce(s, buffers, toFile, printing);
        if (!bad)
            return;
        if (!*bad)
            break;
        const std::int32_t again = s.entry.askInt32("Try again for good data ( 0 ), or just continue ( 1 ) ", 0);
        s.console.clearScreen();
        if (again != 0)
            break;
    }
    s.console.printLine("Continue to analyze the noise for best measurement rate ( 0 )  or");
    s.console.printLine("Run Humgather to run your Vorn system            ( 1 )");
    s.console.printLine();
    s.console.printLine();
    s.console.printLine();
    st.followUpChoice = s.entry.askInt32("", st.followUpChoice);
    if (st.followUpChoice == 1) {
        st.workMode = WorkMode::Operation;
        return;
    }
    s.console.clearScreen();
    handOverToHumsift(s);
    s.link.flushInput();
}

} // namespace vorn::humgather

// Position/angles on the screen: the live values of each vornset, the pose of a second sensor
// relative to the first, and the noise statistics of blocks of records.
#include <algorithm>
#include <ctime>
#include <string>

#include "dialogues.h"
#include "record_reader.h"
#include "vorn/console/basic_number.h"
#include "vorn/console/clock_text.h"
#include "vorn/console/number_picture.h"
#include "vorn/console/print_zone.h"
#include "vorn/humgather/noise_statistics.h"
#include "vorn/humgather/pose_math.h"
#include "vorn/humgather/position_screen.h"

namespace vorn::humgather {

namespace {

constexpr const char* kValuePicture = "####.##   ";
constexpr const char* kColumnTitles = "    X        Y         Z        Azim       Elev      Roll";

struct SensorOne {
    Vector3 position {};
    Angles angles;
};

std::string valuesText(std::span<const double> values, const char* picture)
{
    std::string text;
    for (double v : values)
        text += console::formatPicture(v, picture);
    return text;
}

void printAt(Session& s, int row, const std::string& text)
{
    s.console.moveCursor(row, 1);
    s.console.print(text);
}

void showRelativePose(Session& s, int row, const SensorOne& one, const std::array<double, 6>& two)
{
    const RelativePose pose =
        relativePose(one.position, one.angles, {two[0], two[1], two[2]}, Angles {two[3], two[4], two[5]});
    printAt(s, row, "Distance Between  " + console::formatPicture(pose.distance, "####.##"));
    printAt(s, row + 1, "2 rel to 1 pos/ang");
    const std::array<double, 6> relative {pose.position[0],    pose.position[1],      pose.position[2],
                                          pose.angles.azimuth, pose.angles.elevation, pose.angles.roll};
    printAt(s, row + 2, valuesText(relative, kValuePicture));
}

// The plain step for vornset i; false when the user asked to stop.
bool plainStep(Session& s, RecordReader& reader, int i, SensorOne& one)
{
    PositionRecord record;
    if (!reader.read(record))
        return false;
    const auto values = scaledValues(record, s.settings);
    const std::array<double, 8> shown {values[0], values[1], values[2], values[3],
                                       values[4], values[5], 0.0,       static_cast<double>(record.extra)};
    printAt(s, plainRow(i), valuesText(shown, kValuePicture));
    if (i == 1)
        one = {{values[0], values[1], values[2]}, Angles {values[3], values[4], values[5]}};
    if (i == 2)
        showRelativePose(s, 3 * (i - 1) + 8, one, values);
    return true;
}

// More vornsets than one statistics page holds: a fresh screen for each page, and its label.
void startStatisticsPage(Session& s, int i)
{
    const int count = s.settings.vornsetsToRead;
    const int last = std::min(i + kVornsetsPerStatisticsPage - 1, count);
    s.console.clearScreen();
    printAt(s, 1, kColumnTitles);
    printAt(s, kPageLabelRow,
            "vornsets " + std::to_string(i) + (last > i ? "-" + std::to_string(last) : "") + " of " +
                std::to_string(count) + "; the others follow in turn");
}

void statisticsStep(Session& s, RecordReader& reader, int i)
{
    const ProgramSettings& st = s.settings;
    if (opensStatisticsPage(i, st.vornsetsToRead))
        startStatisticsPage(s, i);
    std::array<StatisticsAccumulator, kRecordWords> words;
    for (std::int32_t n = 0; n < st.samplesToAverage; ++n) {
        PositionRecord record;
        reader.read(record);
        for (std::size_t k = 0; k < words.size(); ++k)
            words[k].add(record.words[k]);
    }
    reader.checkQuit();

    const std::time_t now = std::time(nullptr);
    std::string header = "NOISE FOR " + console::basicNumber(st.samplesToAverage) + " SAMPLES" + "             " +
                         console::timeOfDayText(now);
    console::padToNextZone(header);
    printAt(s, kStatisticsHeaderRow, header + console::dateText(now));

    std::array<Statistics, kRecordWords> results;
    for (std::size_t k = 0; k < words.size(); ++k)
        results[k] = words[k].result();
    auto row = [&](double Statistics::*field, const char* label) {
        std::array<double, 6> values {};
        for (std::size_t k = 0; k < 6; ++k)
            values[k] = results[k].*field * static_cast<double>(k < 3 ? st.positionScale : st.angleScale);
        return valuesText(values, kValuePicture) + label;
    };
    const int first = statisticsRow(i);
    printAt(s, first, row(&Statistics::mean, "   MEAN"));
    printAt(s, first + 1, row(&Statistics::maximum, "   MAX"));
    printAt(s, first + 2, row(&Statistics::minimum, "   MIN"));
    printAt(s, first + 3, row(&Statistics::peakToPeak, "   PEAK TO PEAK VAR"));
    printAt(s, first + 4, row(&Statistics::standardDeviation, "   STD DEVIATION"));
}

void selectPositionAngles(Session& s)
{
    ProgramSettings& st = s.settings;
    const int units = std::min<int>(st.fvbUnitCount, static_cast<int>(st.addresses.size()));
    for (int i = 1; i <= units; ++i) {
        st.currentAddress = st.addresses[static_cast<std::size_t>(i - 1)];
        s.sendToCurrentUnit(protocol::Command::FormatPositionAngles);
    }
    if (st.streaming())
        s.link.send(protocol::Command::Stream);
}

} // namespace

void runPositionDisplay(Session& s)
{
    ProgramSettings& st = s.settings;
    if (st.groupModeFlag == 1) {
        runGroupDisplay(s);
        return;
    }
    if (s.entry.askInt32("Print on screen ( 0 ) or Store in a FILE ( 1 )   ", 0) == 1) {
        runPoseFileBranch(s);
        return;
    }
    selectPositionAngles(s);
    s.console.clearScreen();
    RecordReader reader(s);
    SensorOne one;
    for (;;) {
        printAt(s, 1, kColumnTitles);
        for (int i = 1; i <= st.vornsetsToRead; ++i) {
            st.currentAddress = st.addresses[static_cast<std::size_t>(i - 1)];
            if (st.statisticsFlag == 1)
                statisticsStep(s, reader, i);
            else
                plainStep(s, reader, i, one);
            if (reader.quitRequested()) {
                s.console.moveCursor(24, 1);
                return;
            }
            if (st.delayBetweenAverages > 0)
                s.console.pause(st.delayBetweenAverages);
        }
    }
}

void runGroupDisplay(Session& s)
{
    ProgramSettings& st = s.settings;
    s.link.send(protocol::Command::FormatPositionAngles);
    if (st.streaming())
        s.link.send(protocol::Command::Stream);
    s.console.clearScreen();
    RecordReader reader(s);
    for (;;) {
        if (!st.streaming())
            s.link.send(protocol::Command::Point);
        // A group mode found on at start-up has no count yet: the master's own record at least.
        for (int i = 1; i <= std::max(st.unitsInGroup, 1); ++i) {
            PositionRecord record;
            if (!reader.read(record)) {
                s.console.moveCursor(24, 1);
                return;
            }
            const auto values = scaledValues(record, st);
            const std::array<double, 8> shown {values[0], values[1], values[2], values[3],
                                               values[4], values[5], 0.0,       static_cast<double>(record.extra)};
            printAt(s, 3 * (i - 1) + 2,
                    valuesText(shown, "####.##  ") + console::formatPicture(record.address, "  ##"));
        }
        if (reader.checkQuit()) {
            s.console.moveCursor(24, 1);
            return;
        }
    }
}

} // namespace vorn::humgather

// Position/angles into a data file: a fixed number of measurement cycles, optionally with the
// unit's ALPHA value, written once the collection is over.
#include <array>
#include <string>

#include "dialogues.h"
#include "record_reader.h"
#include "vorn/humgather/pose_data_file.h"
#include "vorn/humgather/replaced_file.h"

namespace vorn::humgather {

namespace {

struct StoredCycles {
    std::array<PositionRecord, kMaxStoredCycles> records {};
    std::array<std::int16_t, kMaxStoredCycles> alpha {};
};

std::int16_t askCycles(Session& s)
{
    std::int16_t cycles = 0;
    for (;;) {
        cycles = s.entry.askInt16("Number of measurement cycles to store in data file (<1000) ", cycles);
        if (cycles > kMaxStoredCycles)
            s.console.printLine("N must be less than 1000");
        else if (cycles < 1)
            s.console.printLine("N must be at least 1");
        else
            return cycles;
    }
}

} // namespace

void runPoseFileBranch(Session& s)
{
    static StoredCycles stored; // up to 1000 cycles, made once
    ProgramSettings& st = s.settings;
    s.console.clearScreen();
    s.console.printLine("**** WARNING, must collect data at 19.2K baud or higher to get each frame****");
    s.waitForKey();
    // The name is checked now; an existing file is replaced only once the new one is complete.
    std::string fileName;
    std::string error;
    for (;;) {
        fileName = s.entry.askText(" file name for storing pos/angle data ", fileName);
        if (canReplace(fileName, error))
            break;
        s.console.printLine("The file \"" + fileName + "\" cannot be written (" + error +
                            "); please give another name.");
    }
    const bool withAlpha = s.entry.askInt32(" Add ALPHA to the end of each record ( 0 ) NO,  ( 1 ) YES  ", 0) == 1;
    const std::int16_t cycles = askCycles(s);

    s.console.clearScreen();
    s.console.printLine("***** STARTING TO COLLECT DATA IN 3 SECONDS *******");
    s.console.pause(3.0);
    s.console.printLine("***** COLLECTING DATA ******");
    s.link.send(protocol::Command::FormatPositionAngles);
    if (st.streaming())
        s.link.send(protocol::Command::Stream);
    RecordReader reader(s);
    // The statistics flag decides whether each read looks at the keyboard; a file run always
    // collects every cycle it was asked for.
    const int statisticsFlag = st.statisticsFlag;
    st.statisticsFlag = 1;
    for (int n = 0; n < cycles; ++n) {
        reader.read(stored.records[static_cast<std::size_t>(n)]);
        if (withAlpha)
            stored.alpha[static_cast<std::size_t>(n)] = s.link.readMemoryWord(st.firmware.alphaValue);
    }
    // "B" ends the stream. Whether a unit then sends a point record or nothing, the flush takes
    // what is left, so a unit that answers nothing cannot hold the program here.
    s.link.send(protocol::Command::Point);
    s.link.flushInput();
    st.statisticsFlag = statisticsFlag;

    s.console.printLine("DATA COLLECTION FINISHED");
    s.console.printLine("WRITING DATA TO DISK");
    std::string text;
    for (int n = 0; n < cycles; ++n) {
        const auto index = static_cast<std::size_t>(n);
        text += poseDataLine(scaledValues(stored.records[index], st),
                             withAlpha ? std::optional(stored.alpha[index]) : std::nullopt);
    }
    if (!replaceFile(fileName, text, error)) {
        s.console.printLine("Writing the data failed (" + error + "); nothing was saved.");
        return;
    }
    s.console.printLine("ALL DONE ");
}

} // namespace vorn::humgather

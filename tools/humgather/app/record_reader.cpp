#include "record_reader.h"

#include <vector>

#include "protocol/factory_commands.h"
#include "vorn/console/basic_number.h"

namespace vorn::humgather {

bool RecordReader::checkQuit()
{
    quit_ = s_.console.pollKey().has_value();
    return quit_;
}

bool RecordReader::read(PositionRecord& record)
{
    const ProgramSettings& st = s_.settings;
    if (st.statisticsFlag == 0 && checkQuit())
        return false;
    const bool group = st.groupModeFlag == 1;
    if (!group && !st.streaming())
        s_.sendToCurrentUnit(protocol::Command::Point);
    std::array<std::uint8_t, 16> bytes {};
    const std::size_t length = recordLength(st.extraRecordBytes(), group);
    const std::span<std::uint8_t> wire(bytes.data(), length);
    int phasingErrors = 0;
    for (;;) {
        s_.link.receive(wire);
        const PhasingFault fault = checkPhasing(wire);
        if (fault == PhasingFault::None)
            break;
        ++phasingErrors;
        const bool first = fault == PhasingFault::FirstWord;
        s_.console.moveCursor(first ? kPhasingErrorRowFirstWord : kPhasingErrorRowLaterWord, 1);
        s_.console.print(std::string(first ? "PHASING ERROR1 " : "PHASING ERROR2 ") +
                         console::basicNumber(phasingErrors));
        s_.link.sendByte(protocol::kStopStream);
        s_.link.flushInput();
        if (st.streaming())
            s_.link.send(protocol::Command::Stream);
        else
            s_.sendToCurrentUnit(protocol::Command::Point);
    }
    record = decodeRecord(wire, st.extraRecordBytes(), group);
    return true;
}

std::array<double, 6> scaledValues(const PositionRecord& record, const ProgramSettings& st)
{
    std::array<double, 6> values {};
    for (std::size_t i = 0; i < 3; ++i)
        values[i] = record.words[i] * static_cast<double>(st.positionScale);
    for (std::size_t i = 3; i < 6; ++i)
        values[i] = record.words[i] * static_cast<double>(st.angleScale);
    return values;
}

} // namespace vorn::humgather

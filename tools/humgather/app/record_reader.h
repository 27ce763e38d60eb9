#pragma once
// Reads one position/angles record of the current unit, restarting the data flow on a phasing
// error until a well-formed record arrives.
#include "session.h"
#include "vorn/humgather/position_record.h"

namespace vorn::humgather {

inline constexpr int kPhasingErrorRowFirstWord = 22;
inline constexpr int kPhasingErrorRowLaterWord = 23;

class RecordReader {
public:
    explicit RecordReader(Session& session) : s_(session) {}

    // False when the user pressed a key before the read (looked at only while the statistics
    // flag is off); the record is then not read.
    bool read(PositionRecord& record);
    bool quitRequested() const { return quit_; }
    // One look at the keyboard: any key asks to stop.
    bool checkQuit();

private:
    Session& s_;
    bool quit_ = false;
};

// X, Y, Z in inches and the angles in degrees.
std::array<double, 6> scaledValues(const PositionRecord& record, const ProgramSettings& settings);

} // namespace vorn::humgather

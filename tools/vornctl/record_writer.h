// The text of a record file: a header that says what the rows are (when,
// from which link and units, data format, rate, scaling, units of measure),
// then per frame the rows of every unit with the frame's own time stamp and
// the host's wall-clock time. CSV or JSON lines; the frame columns are those
// of `stream`, so that whatever reads a stream file reads the rows too.
#pragma once

#include "measurement.h"
#include "options.h"

#include <string>
#include <vector>

namespace vornctl {

// One unit of the recording: what it sends and how it is set.
struct RecordedUnit {
    UnitLayout layout;
    uint8_t hemisphere = 0;
    uint8_t reportRate = 1;
};

struct RecordContext {
    std::string startedUtc; // 2026-12-07T13:40:12.345Z
    std::string link;       // how the group was reached, in words
    double measurementRateHz = 0;
    std::vector<RecordedUnit> units;
};

// The first line of a JSON lines record and the tag of a CSV one.
inline constexpr const char* kRecordTag = "vorn_record";
// The key of a gap's notes: a comment line in CSV, a line of its own in JSON.
inline constexpr const char* kGapTag = "gap";

class RecordWriter {
public:
    RecordWriter(OutputFormat format, RecordContext context);

    std::string header() const;
    std::string frame(const VornFrame& frame, double hostUnixSeconds) const;
    // Notes of a gap, between frames: the units were lost after the frame
    // stamped `lastTimeS` with the library's `errorCode`, and came back after
    // `attempts` wake-ups. The frames after a gap may count time afresh.
    std::string gapLost(double lastTimeS, double hostUnixSeconds, int errorCode) const;
    std::string gapBack(double hostUnixSeconds, int attempts) const;

private:
    std::string csvHeader() const;
    std::string jsonHeader() const;

    bool json_;
    RecordContext context_;
    std::vector<UnitLayout> layouts_;
    FieldSet fields_;
};

// The time between frames the recording expects: the slowest unit's report
// period at the measurement rate; 0 when the rate is unknown.
double framePeriodS(const RecordContext& context);

// "2026-12-07T13:40:12.345Z" of seconds since 1970.
std::string utcText(double unixSeconds);
// The host's wall clock, seconds since 1970.
double hostUnixSeconds();

} // namespace vornctl

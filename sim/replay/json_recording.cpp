#include "replay/json_value.h"
#include "replay/recording_readers.h"

namespace vorn::sim {

namespace {

// N numbers of an array member, or nullopt.
template <std::size_t N> std::optional<std::array<double, N>> numbersOf(const JsonValue& unit, std::string_view key)
{
    const JsonValue* array = unit.find(key);
    if (array == nullptr || array->kind != JsonValue::Kind::Array || array->items.size() != N)
        return std::nullopt;
    std::array<double, N> values {};
    for (std::size_t k = 0; k < N; ++k) {
        if (array->items[k].kind != JsonValue::Kind::Number)
            return std::nullopt;
        values[k] = array->items[k].number;
    }
    return values;
}

RecordedSensor sensorOf(const JsonValue& unit)
{
    RecordedSensor s;
    if (const auto p = numbersOf<3>(unit, "position_in"))
        s.position = *p;
    if (const auto a = numbersOf<3>(unit, "angles_deg"))
        s.angles = Angles {(*a)[0], (*a)[1], (*a)[2]};
    if (const auto m = numbersOf<9>(unit, "matrix"))
        s.matrix = attitude::matrixOfRows(*m);
    if (const auto q = numbersOf<4>(unit, "quaternion"))
        s.quaternion = *q;
    return s;
}

// A frame line; false when the line is not one.
bool readFrame(const JsonValue& line, RecordedMotion& motion)
{
    const JsonValue* units = line.find("units");
    if (line.kind != JsonValue::Kind::Object || units == nullptr || units->kind != JsonValue::Kind::Array)
        return false;
    RecordedFrame frame;
    if (const JsonValue* time = line.find("time_s"); time != nullptr && time->kind == JsonValue::Kind::Number)
        frame.timeS = time->number;
    for (const auto& unit : units->items) {
        const JsonValue* address = unit.find("unit");
        if (address == nullptr || address->kind != JsonValue::Kind::Number || address->number < 0 ||
            address->number > 126)
            return false;
        frame.sensors[static_cast<int>(address->number)] = sensorOf(unit);
    }
    motion.frames.push_back(std::move(frame));
    return true;
}

} // namespace

RecordedMotion readJsonRecording(std::string_view text)
{
    RecordedMotion motion;
    motion.kind = "a vornctl stream file (JSON lines)";
    bool cutShort = false;
    const auto lines = linesOf(text, cutShort);
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].empty())
            continue;
        const auto line = parseJson(lines[n]);
        if (line && line->find("vorn_record") != nullptr) {
            motion.kind = "a vornctl record file (JSON lines)";
            motion.headerRead = true;
            if (const JsonValue* period = line->find("frame_period_s");
                period != nullptr && period->kind == JsonValue::Kind::Number && period->number > 0)
                motion.framePeriodS = period->number;
            continue;
        }
        if (line && line->find("gap") != nullptr)
            continue; // a recording's note that its units were away, not a frame
        const bool last = n + 1 == lines.size();
        if ((last && cutShort) || !line || !readFrame(*line, motion)) {
            motion.stoppedEarly = last && cutShort ? "line " + std::to_string(n + 1) + " is cut short"
                                                   : "line " + std::to_string(n + 1) + " is not a frame";
            break;
        }
    }
    return motion;
}

} // namespace vorn::sim

#include "replay/recording_readers.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vorn::sim {

namespace {

std::vector<std::string_view> fieldsOf(std::string_view line)
{
    std::vector<std::string_view> fields;
    while (true) {
        const auto comma = line.find(',');
        fields.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos)
            return fields;
        line.remove_prefix(comma + 1);
    }
}

std::optional<double> numberOf(std::string_view field)
{
    while (!field.empty() && (field.front() == ' ' || field.back() == ' ' || field.back() == '\r'))
        field = field.front() == ' ' ? field.substr(1) : field.substr(0, field.size() - 1);
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Where each known column is in the header (-1: absent).
struct Columns {
    int time = -1, unit = -1;
    std::array<int, 3> position {-1, -1, -1}, angles {-1, -1, -1};
    std::array<int, 9> matrix {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    std::array<int, 4> quaternion {-1, -1, -1, -1};
};

Columns columnsOf(const std::vector<std::string_view>& names)
{
    constexpr std::string_view kPosition[] = {"x_in", "y_in", "z_in"};
    constexpr std::string_view kAngles[] = {"azimuth_deg", "elevation_deg", "roll_deg"};
    constexpr std::string_view kMatrix[] = {"m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
    constexpr std::string_view kQuaternion[] = {"q0", "q1", "q2", "q3"};
    Columns c;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        const std::string_view name = names[static_cast<std::size_t>(i)];
        if (name == "time_s")
            c.time = i;
        if (name == "unit")
            c.unit = i;
        for (int k = 0; k < 9; ++k) {
            if (k < 3 && name == kPosition[k])
                c.position[k] = i;
            if (k < 3 && name == kAngles[k])
                c.angles[k] = i;
            if (name == kMatrix[k])
                c.matrix[k] = i;
            if (k < 4 && name == kQuaternion[k])
                c.quaternion[k] = i;
        }
    }
    return c;
}

// The values of a group of columns, when the header has them all and the row fills them all.
template <std::size_t N>
std::optional<std::array<double, N>> groupOf(const std::array<int, N>& columns,
                                             const std::vector<std::string_view>& row)
{
    std::array<double, N> values {};
    for (std::size_t k = 0; k < N; ++k) {
        if (columns[k] < 0)
            return std::nullopt;
        const auto v = numberOf(row[static_cast<std::size_t>(columns[k])]);
        if (!v)
            return std::nullopt;
        values[k] = *v;
    }
    return values;
}

RecordedSensor sensorOf(const Columns& c, const std::vector<std::string_view>& row)
{
    RecordedSensor s;
    if (const auto p = groupOf(c.position, row))
        s.position = *p;
    if (const auto a = groupOf(c.angles, row))
        s.angles = Angles {(*a)[0], (*a)[1], (*a)[2]};
    if (const auto m = groupOf(c.matrix, row))
        s.matrix = attitude::matrixOfRows(*m);
    if (const auto q = groupOf(c.quaternion, row))
        s.quaternion = *q;
    return s;
}

// "# frame_period_s: 0.009681" of a record header.
void readHeaderLine(std::string_view line, RecordedMotion& motion)
{
    constexpr std::string_view kPeriod = "# frame_period_s:";
    if (line.substr(0, kPeriod.size()) == kPeriod)
        motion.framePeriodS = numberOf(line.substr(kPeriod.size()));
    if (line.find("vorn_record") != std::string_view::npos)
        motion.kind = "a vornctl record file (CSV)";
}

} // namespace

RecordedMotion readCsvRecording(std::string_view text)
{
    RecordedMotion motion;
    motion.kind = "a vornctl stream file (CSV)";
    bool cutShort = false;
    const auto lines = linesOf(text, cutShort);
    std::size_t n = 0;
    for (; n < lines.size() && (lines[n].empty() || lines[n].front() == '#'); ++n)
        readHeaderLine(lines[n], motion);
    if (n == lines.size()) {
        motion.stoppedEarly = "no column names";
        return motion;
    }
    const auto names = fieldsOf(lines[n]);
    const Columns columns = columnsOf(names);
    if (columns.unit < 0) {
        motion.stoppedEarly = "no unit column in line " + std::to_string(n + 1);
        return motion;
    }
    motion.headerRead = true;
    for (++n; n < lines.size(); ++n) {
        // Notes between rows, such as a recording's gaps, are not rows.
        if (lines[n].empty() || lines[n].front() == '#')
            continue;
        const auto row = fieldsOf(lines[n]);
        const auto unit =
            row.size() == names.size() ? numberOf(row[static_cast<std::size_t>(columns.unit)]) : std::nullopt;
        const bool last = n + 1 == lines.size();
        if (!unit || *unit < 0 || *unit > 126 || (last && cutShort)) {
            motion.stoppedEarly = (last && cutShort ? "line " + std::to_string(n + 1) + " is cut short"
                                                    : "line " + std::to_string(n + 1) + " is not a row of the table");
            break;
        }
        const std::optional<double> time =
            columns.time >= 0 ? numberOf(row[static_cast<std::size_t>(columns.time)]) : std::nullopt;
        const int address = static_cast<int>(*unit);
        // Rows of one frame share its time stamp and name each unit once.
        if (motion.frames.empty() || motion.frames.back().timeS != time ||
            motion.frames.back().sensors.count(address) != 0)
            motion.frames.push_back({time, {}});
        motion.frames.back().sensors[address] = sensorOf(columns, row);
    }
    return motion;
}

std::vector<std::string_view> linesOf(std::string_view text, bool& cutShort)
{
    std::vector<std::string_view> lines;
    cutShort = !text.empty() && text.back() != '\n';
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace vorn::sim

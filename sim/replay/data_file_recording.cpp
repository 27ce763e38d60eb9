#include "replay/recording_readers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <span>
#include <string>

namespace vorn::sim {

namespace {

// Whitespace-separated numbers of a line, or nullopt when one does not read.
std::optional<std::vector<double>> numbersOf(std::string_view text)
{
    std::vector<double> values;
    while (true) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        if (text.empty())
            return values;
        double v = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (error != std::errc() || !std::isfinite(v))
            return std::nullopt;
        values.push_back(v);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    }
}

struct Reader {
    const std::vector<std::string_view>& lines;
    std::size_t n = 0;
    RecordedMotion motion;
    RecordedFrame frame;

    // One line group; false with motion.stoppedEarly set when it does not read.
    bool group()
    {
        const std::string_view line = lines[n];
        std::size_t digits = 0;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
            ++digits;
        const auto colon = line.find(':');
        if (digits == 0 || digits > 3 || colon == std::string_view::npos || colon <= digits)
            return stop("is not a line group");
        const int sensor = std::stoi(std::string(line.substr(0, digits)));
        const std::string_view keyword = line.substr(digits, colon - digits);
        auto values = numbersOf(line.substr(colon + 1));
        if (keyword == "end-frame") {
            motion.frames.push_back(std::move(frame));
            frame = {};
            return true;
        }
        if (keyword == "but" || keyword == "dist")
            return true;
        if (!values || sensor > 126)
            return stop("holds a value that does not read");
        RecordedSensor& s = frame.sensors[sensor];
        if (keyword == "pos" && values->size() == 3)
            s.position = Vector3 {(*values)[0], (*values)[1], (*values)[2]};
        else if (keyword == "ang" && values->size() == 3)
            s.angles = Angles {(*values)[0], (*values)[1], (*values)[2]};
        else if (keyword == "quat" && values->size() == 4)
            s.quaternion = Quaternion {(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
        else if (keyword == "time" && values->size() == 1)
            frame.timeS = (*values)[0];
        else if (keyword == "mat" && values->size() == 3)
            return matrix(s, *values);
        else
            return stop("is not a line group this reader knows");
        return true;
    }

    // The matrix: its first row, then two lines of three without a prefix.
    bool matrix(RecordedSensor& s, std::vector<double> values)
    {
        for (int row = 0; row < 2; ++row) {
            if (++n >= lines.size())
                return stop("ends inside a matrix");
            const auto more = numbersOf(lines[n]);
            if (!more || more->size() != 3)
                return stop("is not a matrix row");
            values.insert(values.end(), more->begin(), more->end());
        }
        s.matrix = attitude::matrixOfRows(std::span<const double, 9>(values.data(), 9));
        return true;
    }

    bool stop(const std::string& why)
    {
        motion.stoppedEarly = "line " + std::to_string(n + 1) + " " + why;
        return false;
    }
};

} // namespace

RecordedMotion readDataFileRecording(std::string_view text)
{
    bool cutShort = false;
    const auto lines = linesOf(text, cutShort);
    Reader reader {lines, 0, {}, {}};
    reader.motion.kind = "a Vornscope data file";
    for (; reader.n < lines.size(); ++reader.n) {
        if (lines[reader.n].empty())
            continue;
        if (!reader.group())
            break;
    }
    // A frame without its end line was cut off; the whole frames before it stay.
    if (reader.motion.stoppedEarly.empty() && !reader.frame.sensors.empty())
        reader.motion.stoppedEarly = "the last frame is cut short";
    return reader.motion;
}

} // namespace vorn::sim

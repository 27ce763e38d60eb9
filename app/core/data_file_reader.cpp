#include "core/data_file_reader.h"

#include "core/recording_reader.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <sstream>

namespace vornscope {
namespace {

// Keywords longer than this are not ours: treated as unrecognised.
constexpr std::size_t kMaxKeyword = 15;

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }

    void skipSpace()
    {
        while (!atEnd() && std::isspace(static_cast<unsigned char>(peek())))
            ++pos_;
    }

    // A decimal number (integer or real) after white space; an explicit '+' is allowed.
    template <typename Number>
    bool readNumber(Number& value)
    {
        skipSpace();
        const char* first = text_.data() + pos_;
        const char* last = text_.data() + text_.size();
        if (first != last && *first == '+')
            ++first;
        const auto result = std::from_chars(first, last, value);
        if (result.ec != std::errc{})
            return false;
        pos_ = static_cast<std::size_t>(result.ptr - text_.data());
        return true;
    }

    // The keyword up to ':' (consumed). Stops at a line end without a colon.
    std::string_view readKeyword(bool& colon)
    {
        const std::size_t start = pos_;
        while (!atEnd() && peek() != ':' && peek() != '\n')
            ++pos_;
        const std::string_view keyword = text_.substr(start, pos_ - start);
        colon = !atEnd() && peek() == ':';
        if (colon)
            ++pos_;
        return keyword;
    }

    // The rest of the line, without its line end (consumed).
    std::string_view readLine()
    {
        const std::size_t start = pos_;
        while (!atEnd() && peek() != '\n')
            ++pos_;
        std::string_view line = text_.substr(start, pos_ - start);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
        return line;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

template <std::size_t N>
bool readReals(Cursor& cursor, std::array<double, N>& values)
{
    for (double& value : values)
        if (!cursor.readNumber(value))
            return false;
    return true;
}

// A button line holds a number or the text the writer puts there, so a file
// this program wrote always reads back.
bool readButton(Cursor& cursor, std::int16_t& value)
{
    cursor.skipSpace();
    if (!cursor.atEnd() && std::isalpha(static_cast<unsigned char>(cursor.peek()))) {
        const std::string_view line = cursor.readLine();
        for (std::int16_t candidate : {button::kLeft, button::kMiddle, button::kRight}) {
            if (line == buttonText(candidate)) {
                value = candidate;
                return true;
            }
        }
        value = button::kNone;
        return line == "none";
    }
    long number = 0;
    if (!cursor.readNumber(number))
        return false;
    value = static_cast<std::int16_t>(number);
    return true;
}

enum class LineResult { Read, Stop, Unrecognised };

LineResult readGroup(Cursor& cursor, std::string_view keyword, SensorRecord& sensor, double& time)
{
    bool ok = true;
    std::uint8_t bit = 0;
    if (keyword == "pos") {
        ok = readReals(cursor, sensor.position);
        bit = content::kPosition;
    } else if (keyword == "ang") {
        ok = readReals(cursor, sensor.angles);
        bit = content::kAngles;
    } else if (keyword == "mat") {
        ok = readReals(cursor, sensor.matrix);
        bit = content::kMatrix;
    } else if (keyword == "quat") {
        ok = readReals(cursor, sensor.quaternion);
        bit = content::kQuaternion;
    } else if (keyword == "but") {
        ok = readButton(cursor, sensor.button);
        bit = content::kButton;
    } else if (keyword == "dist") {
        long value = 0;
        ok = cursor.readNumber(value);
        sensor.distortion = static_cast<std::uint16_t>(value);
        bit = content::kDistortion;
    } else if (keyword == "time") {
        ok = cursor.readNumber(time);
        bit = content::kTime;
    } else if (keyword != "end-frame") {
        return LineResult::Unrecognised;
    }
    if (!ok)
        return LineResult::Stop;
    sensor.content = static_cast<std::uint8_t>(sensor.content | bit);
    return LineResult::Read;
}

} // namespace

ReadOutcome readDataFile(std::string_view text, GraphData& graph)
{
    // vornctl's record and stream files open as well, so a recording taken headless can be looked at.
    if (isRecordingText(text))
        return readRecordingText(text, graph);
    graph.clear();
    auto working = std::make_unique<SampleFrame>();
    Cursor cursor(text);
    long lastSensor = 0;
    bool firstFrame = true;
    for (;;) {
        if (cursor.atEnd())
            break;
        const char next = cursor.peek();
        if (!std::isdigit(static_cast<unsigned char>(next)) && next != '\n')
            break;
        long number = 0;
        if (!cursor.readNumber(number))
            break;
        bool colon = false;
        const std::string_view keyword = cursor.readKeyword(colon);
        if (keyword.empty())
            break;
        if (!colon || keyword.size() > kMaxKeyword || number < 0 || number >= VORN_UNIT_COUNT)
            return ReadOutcome::Unrecognised;
        if (number == 0) {
            if (firstFrame)
                graph.setSensorCount(static_cast<int>(lastSensor));
            firstFrame = false;
            graph.append(*working);
            working->clear();
        }
        SensorRecord& sensor = working->sensors[static_cast<std::size_t>(number)];
        const LineResult result = readGroup(cursor, keyword, sensor, working->time);
        if (result == LineResult::Unrecognised)
            return ReadOutcome::Unrecognised;
        if (result == LineResult::Stop)
            break;
        lastSensor = number;
    }
    return ReadOutcome::Complete;
}

bool loadFileText(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream buffer;
    buffer << file.rdbuf();
    text = buffer.str();
    return true;
}

} // namespace vornscope

#include "core/data_file_reader.h"

#include "core/huge_pages.h"
#include "core/recording_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <type_traits>

namespace vornscope {
namespace {

// Keywords longer than this are not ours: treated as unrecognised.
constexpr std::size_t kMaxKeyword = 15;
// How many line groups pass between two progress reports (and looks at Cancel).
constexpr unsigned kProgressEvery = 4096;
// The file is loaded in pieces of this size, so Cancel is seen between them.
constexpr std::size_t kLoadPiece = std::size_t {8} << 20;

constexpr bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
constexpr bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Exact powers of ten as doubles.
constexpr std::array<double, 16> kPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Fixed-point text as the writer makes it ("-12.3456"): its digits as an
// integer divided by a power of ten. Both are exact doubles while there are
// at most 15 digits, so the quotient is the correctly rounded value, the
// same that from_chars gives. Returns nullptr for anything else.
const char* readFixedPoint(const char* first, const char* last, double& value)
{
    const char* at = first;
    const bool negative = at != last && *at == '-';
    if (negative)
        ++at;
    std::uint64_t digits = 0;
    int count = 0;
    int places = 0;
    for (; at != last && isDigit(*at); ++at, ++count)
        digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
    if (at != last && *at == '.')
        for (++at; at != last && isDigit(*at); ++at, ++count, ++places)
            digits = digits * 10 + static_cast<std::uint64_t>(*at - '0');
    if (count == 0 || count > 15 || (at != last && (*at == 'e' || *at == 'E')))
        return nullptr;
    const double magnitude = static_cast<double>(digits) / kPowersOfTen[static_cast<std::size_t>(places)];
    value = negative ? -magnitude : magnitude;
    return at;
}

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return text_[pos_]; }
    std::size_t position() const { return pos_; }

    void skipSpace()
    {
        while (!atEnd() && isSpace(peek()))
            ++pos_;
    }

    // Blanks and a carriage return before a line end (or the end of the
    // text) belong to the line end: files edited elsewhere carry them.
    void skipLineEndBlanks()
    {
        std::size_t at = pos_;
        while (at < text_.size() && (text_[at] == ' ' || text_[at] == '\t' || text_[at] == '\r'))
            ++at;
        if (at == text_.size() || text_[at] == '\n')
            pos_ = at;
    }

    // A decimal number (integer or real) after white space; an explicit '+' is allowed.
    template <typename Number> bool readNumber(Number& value)
    {
        skipSpace();
        const char* first = text_.data() + pos_;
        const char* last = text_.data() + text_.size();
        if (first != last && *first == '+')
            ++first;
        const char* end = nullptr;
        if constexpr (std::is_floating_point_v<Number>)
            end = readFixedPoint(first, last, value);
        if (end == nullptr) {
            const auto result = std::from_chars(first, last, value);
            if (result.ec != std::errc {})
                return false;
            end = result.ptr;
        }
        pos_ = static_cast<std::size_t>(end - text_.data());
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

    // The rest of the line, without its line end and outer blanks (consumed).
    std::string_view readLine()
    {
        const std::size_t start = pos_;
        while (!atEnd() && peek() != '\n')
            ++pos_;
        std::string_view line = text_.substr(start, pos_ - start);
        while (!line.empty() && isSpace(line.back()))
            line.remove_suffix(1);
        while (!line.empty() && isSpace(line.front()))
            line.remove_prefix(1);
        return line;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

template <std::size_t N> bool readReals(Cursor& cursor, std::array<double, N>& values)
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
    if (!cursor.atEnd() && isAlpha(cursor.peek())) {
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
    } else if (keyword == "time") {
        ok = cursor.readNumber(time);
        bit = content::kTime;
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
    } else if (keyword != "end-frame") {
        return LineResult::Unrecognised;
    }
    if (!ok)
        return LineResult::Stop;
    sensor.content = static_cast<std::uint8_t>(sensor.content | bit);
    return LineResult::Read;
}

// Where the line groups of the frame being read go. Until the first frame
// ends (which fixes the graph's sensor count) that is a whole SampleFrame;
// after it, each frame is written straight into a new point of the graph,
// so no frame is copied or cleared whole. Sensor numbers the graph does not
// keep (0, and those above its count) go to the SampleFrame, of which only
// the sensors a frame named are cleared for the next one.
class FrameBuilder {
public:
    explicit FrameBuilder(GraphData& graph) : graph_(graph) {}
    // A frame without its "0" line is not kept.
    ~FrameBuilder()
    {
        if (inGraph_)
            graph_.dropLast();
    }
    FrameBuilder(const FrameBuilder&) = delete;
    FrameBuilder& operator=(const FrameBuilder&) = delete;

    SensorRecord& sensor(long number)
    {
        if (inGraph_ && number >= 1 && number <= graph_.sensorCount())
            return graph_.lastRecords()[number - 1];
        highest_ = std::max(highest_, number);
        return scratch_->sensors[static_cast<std::size_t>(number)];
    }
    double& time() { return inGraph_ ? graph_.lastTime() : scratch_->time; }

    // The "0" line: the frame read so far joins the graph. The first one
    // fixes the sensor count (the last sensor number before it) and how much
    // room the graph reserves.
    void endFrame(long lastSensor, std::size_t expectedFrames)
    {
        if (!inGraph_) {
            graph_.setSensorCount(static_cast<int>(lastSensor));
            graph_.append(*scratch_);
            graph_.reserve(expectedFrames);
        }
        for (long unit = 0; unit <= highest_; ++unit)
            scratch_->sensors[static_cast<std::size_t>(unit)] = SensorRecord {};
        scratch_->time = 0;
        highest_ = 0;
        graph_.appendBlank();
        inGraph_ = true;
    }

private:
    GraphData& graph_;
    std::unique_ptr<SampleFrame> scratch_ = std::make_unique<SampleFrame>();
    long highest_ = 0;
    bool inGraph_ = false;
};

// Room for as many frames as the text holds at the first frame's size, and
// an eighth more, so the stored points are not copied as they grow.
std::size_t framesLike(std::size_t firstFrameBytes, std::size_t textBytes)
{
    const std::size_t frames = textBytes / std::max<std::size_t>(firstFrameBytes, 1) + 1;
    return frames + frames / 8;
}

} // namespace

ReadOutcome readDataFile(std::string_view text, GraphData& graph, ReadProgress* progress)
{
    // vornctl's record and stream files open as well, so a recording taken headless can be looked at.
    if (isRecordingText(text))
        return readRecordingText(text, graph);
    graph.clear();
    const std::uint64_t progressBase = progress ? progress->done.load() : 0;
    FrameBuilder frame(graph);
    Cursor cursor(text);
    long lastSensor = 0;
    for (unsigned groups = 1;; ++groups) {
        if (progress && groups % kProgressEvery == 0) {
            progress->done.store(progressBase + cursor.position());
            if (progress->cancel.load())
                return ReadOutcome::Cancelled;
        }
        cursor.skipLineEndBlanks();
        if (cursor.atEnd())
            break;
        const char next = cursor.peek();
        if (!isDigit(next) && next != '\n')
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
        if (number == 0)
            frame.endFrame(lastSensor, framesLike(cursor.position(), text.size()));
        const LineResult result = readGroup(cursor, keyword, frame.sensor(number), frame.time());
        if (result == LineResult::Unrecognised)
            return ReadOutcome::Unrecognised;
        if (result == LineResult::Stop)
            break;
        lastSensor = number;
    }
    if (progress)
        progress->done.store(progressBase + text.size());
    return ReadOutcome::Complete;
}

bool loadFileText(const std::string& path, std::string& text, ReadProgress* progress)
{
    std::ifstream file(path, std::ios::binary);
    struct stat status {};
    if (!file || ::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    // Only what the file held when it was opened: a file that grows meanwhile
    // cannot keep the read going.
    const auto size = static_cast<std::size_t>(status.st_size);
    if (progress)
        progress->total.store(2 * static_cast<std::uint64_t>(size));
    text.clear();
    text.reserve(size);
    adviseHugePages(text.data(), size);
    text.resize(size);
    std::size_t done = 0;
    while (done < size) {
        if (progress && progress->cancel.load())
            return false;
        const std::size_t piece = std::min(kLoadPiece, size - done);
        file.read(text.data() + done, static_cast<std::streamsize>(piece));
        done += static_cast<std::size_t>(file.gcount());
        if (progress)
            progress->done.store(done);
        if (!file)
            break;
    }
    // A file cut short meanwhile is read as far as it goes.
    text.resize(done);
    return true;
}

} // namespace vornscope

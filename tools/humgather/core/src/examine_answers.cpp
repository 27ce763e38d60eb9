#include "vorn/humgather/examine_answers.h"

#include <array>
#include <cstdlib>

#include "protocol/parameters.h"
#include "vorn/console/basic_number.h"
#include "vorn/console/number_picture.h"
#include "vorn/console/print_zone.h"

namespace vorn::humgather {

using console::basicNumber;
using console::formatPicture;

namespace {

constexpr int kFirstPauseAddress = 15; // the system status list stops once for a key here

std::string zoned(std::string label, double value)
{
    console::padToNextZone(label);
    return label + basicNumber(value);
}

std::uint16_t wordAt(std::span<const std::uint8_t> answer, std::size_t index)
{
    return static_cast<std::uint16_t>(answer[2 * index + 1] * 256 + answer[2 * index]);
}

std::int16_t signedWordAt(std::span<const std::uint8_t> answer, std::size_t index)
{
    return static_cast<std::int16_t>(wordAt(answer, index));
}

bool bit(unsigned value, int n)
{
    return ((value >> n) & 1u) != 0;
}

void statusWord(std::uint16_t word, ExamineOutcome& out)
{
    struct BitText {
        int bit;
        const char* label;
        const char* set;
        const char* clear;
    };
    static constexpr std::array<BitText, 11> kBits {{
        {15, "     15           ", "This Vorn is the MASTER", "This Vorn is a SLAVE"},
        {14, "     14           ", "This Vorn has been initialized", "This Vorn has not been initialized"},
        {13, "     13           ", "An error has been detected", "No errors detected"},
        {12, "     12           ", "The Vorn is running", "The Vorn is not running"},
        {11, "     11           ", "HOST SYNC MODE ENABLED", "HOST SYNC MODE NOT ENABLED "},
        {10, "     10           ", "EXPANDED ADDRESS MODE ENABLED", "NORMAL ADDRESS MODE ENABLED"},
        {9, "     9           ", "CRT SYNC ENABLED", "NO CRT SYNC MODES ENABLED "},
        {8, "     8           ", "NO SYNC MODES ARE ENABLED", "A SYNC MODE IS ENABLED"},
        {7, "     7           ", "FACTORY TEST COMMANDS ENABLED", "USER COMMANDS ENABLED "},
        {6, "     6           ", "Xoff", "Xon"},
        {5, "     5           ", "The Vorn is asleep", "The Vorn is awake"},
    }};
    static constexpr std::array<const char*, 8> kFormats {
        "POSITION outputs selected",        "ANGLE outputs selected",
        "MATRIX outputs selected",          "POSITION/ANGLE outputs selected",
        "POSITION/MATRIX outputs selected", "FACTORY CAL outputs selected",
        "QUATERNION outputs selected",      "POSITION/QUATERNION outputs selected"};
    out.lines.push_back(zoned("STATUS WORD = ", word));
    out.lines.emplace_back("STATUS BIT #        ");
    for (const auto& b : kBits)
        out.lines.push_back(std::string(b.label) + (bit(word, b.bit) ? b.set : b.clear));
    const unsigned format = (word & 30u) / 2;
    std::string formatLine = "   4,3,2,1         ";
    if (format >= 1 && format <= 8)
        formatLine += kFormats[format - 1];
    out.lines.push_back(formatLine);
    out.lines.push_back(std::string("     0           ") + (bit(word, 0) ? "Stream mode" : "Point mode"));
    out.pauseAfterLine.push_back(out.lines.size());
}

void crystalSpeed(std::uint16_t word, ExamineOutcome& out)
{
    int speed = word;
    if (speed == 0) {
        out.lines.emplace_back("*** cannot read CPU SPEED ***  assuming 20 MHz");
        speed = 20;
    }
    out.lines.push_back("CPU crystal speed = " + basicNumber(speed) + " MHz");
    out.crystalSpeedMHz = speed;
}

void rangeScaling(std::int16_t word, ExamineOutcome& out)
{
    if (word == 0) {
        out.lines.emplace_back("Maximum range scaling= 36 inches");
        out.positionScale = 36.0f / 32768.0f;
    } else if (word == 1) {
        out.lines.emplace_back("Maximum range scaling= 72 inches");
        out.positionScale = 72.0f / 32768.0f;
    } else if (std::abs(word) > 1) {
        out.lines.emplace_back("Error in Maximum range scaling");
    }
}

void filters(std::uint16_t word, ExamineOutcome& out)
{
    out.lines.push_back(basicNumber(word));
    out.lines.emplace_back(bit(word, 0) ? "Adaptive DC filter is OFF" : "Adaptive DC filter is ON");
    out.lines.emplace_back(bit(word, 1) ? "AC Wide NOTCH filter is OFF" : "AC Wide NOTCH filter is ON");
    out.lines.emplace_back(bit(word, 2) ? "2 cycle AC filter is OFF" : "2 cycle AC filter is ON");
}

void table(int parameter, std::span<const std::uint8_t> answer, ExamineOutcome& out)
{
    const bool fraction = parameter != 12;
    for (std::size_t i = 0; i < 7; ++i) {
        const double value = fraction ? signedWordAt(answer, i) / 32768.0 : signedWordAt(answer, i);
        out.lines.push_back(zoned(basicNumber(static_cast<double>(i)), value));
    }
    if (parameter == 5)
        out.lines.push_back("ALPHA MIN= " + formatPicture(signedWordAt(answer, 6) / 32768.0, "#.###"));
}

void rateCount(std::uint16_t count, const ExamineContext& context, ExamineOutcome& out)
{
    const double ms = count * static_cast<double>(context.timerTickMicroseconds) / 1000.0;
    out.lines.push_back("CURRENT SETTLING TIME IS " + basicNumber(count) + " COUNTS = " + basicNumber(ms) + " MS");
    out.lines.push_back("APPROXIMATE MEASUREMENT RATE IS  " + formatPicture(1000.0 / (4.0 * ms + 0.3), "### ") +
                        " measurements per second");
}

void choiceText(std::uint8_t value, std::span<const char* const> texts, ExamineOutcome& out)
{
    if (value < texts.size())
        out.lines.emplace_back(texts[value]);
}

std::string systemStatusText(std::uint8_t value)
{
    std::string text = "SYS STATUS = " + basicNumber(value);
    text += bit(value, 7) ? "ACCESSIBLE, " : "NOT ACCESSIBLE, ";
    text += bit(value, 6) ? "RUNNING, " : "NOT RUNNING, ";
    text += bit(value, 5) ? "SENSOR, " : "NO SENSOR,";
    if (!bit(value, 0))
        return text + "NO XMTR";
    if (!bit(value, 4))
        return text + "STD. XMTR";
    for (int b = 3; b >= 0; --b)
        if (bit(value, b))
            return text + "ERT" + std::to_string(b);
    return text;
}

void systemStatus(std::span<const std::uint8_t> answer, ExamineOutcome& out)
{
    for (std::size_t i = 0; i < answer.size(); ++i) {
        // One line per unit, so 14 units and the warning above them fit one screen.
        out.lines.push_back("Vornset" + basicNumber(static_cast<double>(i + 1)) + systemStatusText(answer[i]));
        if (i + 1 == kFirstPauseAddress)
            out.pauseAfterLine.push_back(out.lines.size());
    }
}

std::string binaryDigits(std::uint8_t value)
{
    std::string digits;
    for (int b = 7; b >= 0; --b)
        digits += bit(value, b) ? '1' : '0';
    return digits;
}

void autoConfiguration(std::span<const std::uint8_t> answer, ExamineOutcome& out)
{
    for (std::size_t i = 0; i < answer.size(); ++i) {
        std::string line = "Config Byte" + basicNumber(static_cast<double>(i + 1));
        console::padToNextZone(line);
        out.lines.push_back(line + binaryDigits(answer[i]));
    }
    out.pauseAfterLine.push_back(out.lines.size());
}

void metalDetection(std::span<const std::uint8_t> answer, ExamineOutcome& out)
{
    static constexpr std::array<const char*, 5> kLabels {
        "METALflag = ", "METALsensitivity = ", "METALoffset = ", "METALslope = ", "METALalpha = "};
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        int value = wordAt(answer, i);
        if ((i == 2 || i == 3) && value > 127)
            value -= 256;
        out.lines.push_back(zoned(kLabels[i], value));
    }
}

// A parameter of the command set without a display of its own (17, 19): its name and value.
void namedValue(int parameter, std::span<const std::uint8_t> answer, ExamineOutcome& out)
{
    const protocol::ParameterInfo* info = protocol::findParameter(static_cast<std::uint8_t>(parameter));
    if (info == nullptr || answer.empty() || answer.size() > 2)
        return;
    const int value = answer.size() == 1 ? answer[0] : wordAt(answer, 0);
    out.lines.push_back(std::string(info->name) + " =" + basicNumber(value));
}

// Data ready (8), which the command set lists without an answer, and numbers it does not know:
// what came back within the time-out, if anything.
void answerOfUnknownLength(int parameter, std::span<const std::uint8_t> answer, ExamineOutcome& out)
{
    static constexpr const char* kDataReady[] = {"data ready is disabled", "data ready is enabled"};
    if (parameter == 8 && answer.size() == 1) {
        choiceText(answer[0], kDataReady, out);
        return;
    }
    const std::string number = std::to_string(parameter);
    if (answer.empty()) {
        out.lines.push_back("The unit gave no answer to examine value " + number + ".");
        return;
    }
    std::string bytes;
    for (std::uint8_t b : answer)
        bytes += " " + std::to_string(b);
    out.lines.push_back("Examine value " + number + " is not one Humgather knows; the unit answered " +
                        std::to_string(answer.size()) + (answer.size() == 1 ? " byte:" : " bytes:"));
    out.lines.push_back(bytes);
}

} // namespace

std::optional<std::size_t> examineAnswerLength(int parameter, int addressingAnswer)
{
    if (parameter < 0 || parameter > 255)
        return std::nullopt;
    // Humgather's answer 1 is normal addressing; any other is read at the expanded length.
    const std::uint8_t mode = addressingAnswer == 1 ? 0 : 1;
    return protocol::examineAnswerBytes(static_cast<std::uint8_t>(parameter), mode);
}

bool needsAddressingWarning(int parameter, int addressingAnswer)
{
    return (parameter == 36 || parameter == 50) && addressingAnswer == 0;
}

float decodeRevision(std::uint8_t first, std::uint8_t second)
{
    return static_cast<float>(first) + static_cast<float>(second) / (second < 10 ? 10.0f : 100.0f);
}

ExamineOutcome describeExamineAnswer(int parameter, std::span<const std::uint8_t> answer, const ExamineContext& context)
{
    ExamineOutcome out;
    const auto length = examineAnswerLength(parameter, context.addressingAnswer);
    if (!length) {
        answerOfUnknownLength(parameter, answer, out);
        return out;
    }
    if (answer.size() < *length)
        return out;
    static constexpr const char* kLock[] = {"outputs are not locked", "outputs are locked"};
    static constexpr const char* kTransmitter[] = {" Non-Pulsed Mode", " Pulsed Mode", " Cool-Down Mode"};
    switch (parameter) {
    case 0: statusWord(wordAt(answer, 0), out); break;
    case 1:
        out.revision = decodeRevision(answer[0], answer[1]);
        out.lines.push_back("Software revision number = " + basicNumber(*out.revision));
        break;
    case 2: crystalSpeed(wordAt(answer, 0), out); break;
    case 3: rangeScaling(signedWordAt(answer, 0), out); break;
    case 4: filters(wordAt(answer, 0), out); break;
    case 5:
    case 12:
    case 13: table(parameter, answer, out); break;
    case 6: rateCount(wordAt(answer, 0), context, out); break;
    case 7:
        out.lines.push_back(" measurements per second = " + formatPicture(wordAt(answer, 0) / 256.0, "###.##  "));
        break;
    case 10: out.lines.push_back(zoned("ERROR CODE = ", answer[0])); break;
    case 11: out.lines.push_back(zoned("ERROR MASK = ", answer[0])); break;
    case 14: choiceText(answer[0], kLock, out); break;
    case 15: {
        std::string line = "model = ";
        console::padToNextZone(line);
        out.lines.push_back(line + std::string(answer.begin(), answer.begin() + 10));
        break;
    }
    case 18: choiceText(answer[0], kTransmitter, out); break;
    case 20: out.lines.push_back("Filter Line Freq in Hz " + basicNumber(answer[0])); break;
    case 25: out.lines.push_back("Electronic Card Serial Number " + basicNumber(signedWordAt(answer, 0))); break;
    case 26: out.lines.push_back("SENSOR Serial Number " + basicNumber(signedWordAt(answer, 0))); break;
    case 27: out.lines.push_back("TRANSMITTER Serial Number " + basicNumber(signedWordAt(answer, 0))); break;
    case 28: metalDetection(answer, out); break;
    case 29: out.lines.push_back(zoned("Report Rate = ", answer[0])); break;
    case 35:
        out.groupModeFlag = answer[0];
        if (answer[0] <= 1)
            out.lines.emplace_back(answer[0] == 1 ? "GROUP mode is enabled" : "GROUP mode is disabled");
        break;
    case 36: systemStatus(answer, out); break;
    case 50: autoConfiguration(answer, out); break;
    default: namedValue(parameter, answer, out); break;
    }
    return out;
}

} // namespace vorn::humgather

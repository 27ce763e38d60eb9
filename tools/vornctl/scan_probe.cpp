#include "scan_probe.h"

#include "port_users.h"

#include "platform/serial_line.h"
#include "protocol/commands.h"
#include "protocol/parameters.h"
#include "protocol/unit_status.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <poll.h>

namespace vornctl {

namespace {

namespace vp = vorn::protocol;
using vorn::platform::SerialLine;

// A unit answers within a few milliseconds; bytes after the answer mean the
// other end is not answering our question (or is streaming data).
constexpr int kSurplusWaitMs = 40;
constexpr uint16_t kFirstRevisionWithAddressingMode = 834; // above 3.66

struct Answer {
    std::vector<uint8_t> bytes; // what came, at most the bytes asked for
    bool surplus = false;       // more came than a unit sends
    bool closed = false;        // the other end went away
};

// Waits up to `ms` for `wanted` bytes to be queued on the line.
bool waitForBytes(SerialLine& line, std::size_t wanted, int ms, bool& closed)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (true) {
        if (!line.fill()) {
            closed = true;
            return false;
        }
        if (line.queued() >= wanted)
            return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p {line.fd(), POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR)
            return false;
    }
}

Answer examine(SerialLine& line, vp::Parameter parameter, std::size_t length, uint32_t timeoutMs)
{
    Answer answer;
    line.purgeInput();
    const uint8_t command[] = {vp::toByte(vp::Command::ExamineValue), vp::toByte(parameter)};
    if (line.write(command, sizeof command, timeoutMs) != sizeof command)
        return answer;
    const bool complete = waitForBytes(line, length, static_cast<int>(timeoutMs), answer.closed);
    answer.bytes.resize(std::min(length, line.queued()));
    line.take(answer.bytes.data(), answer.bytes.size());
    if (complete)
        answer.surplus = waitForBytes(line, 1, kSurplusWaitMs, answer.closed);
    return answer;
}

uint16_t wordOf(const std::vector<uint8_t>& bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); // least significant byte first
}

std::string hexOf(const std::vector<uint8_t>& bytes)
{
    std::string text;
    for (uint8_t b : bytes) {
        char item[4];
        std::snprintf(item, sizeof item, "%02X", b);
        text += (text.empty() ? "" : " ") + std::string(item);
    }
    return text;
}

// One baud rate: the unit's facts, or why not. `garbage` collects what came
// when the answers were not a unit's.
std::optional<PortFinding> askAtBaud(SerialLine& line, uint32_t timeoutMs, std::string& garbage)
{
    const Answer revision = examine(line, vp::Parameter::SoftwareRevision, 2, timeoutMs);
    if (revision.bytes.empty())
        return std::nullopt;
    // Revision: integer part, then the fraction in hundredths.
    if (revision.bytes.size() < 2 || revision.surplus || revision.bytes[0] == 0 || revision.bytes[0] > 15 ||
        revision.bytes[1] > 99) {
        garbage = hexOf(revision.bytes);
        return std::nullopt;
    }
    PortFinding found;
    found.outcome = PortFinding::Outcome::Found;
    found.revision = wordOf({revision.bytes[1], revision.bytes[0]});
    const Answer status = examine(line, vp::Parameter::Status, 2, timeoutMs);
    const Answer crystal = examine(line, vp::Parameter::CrystalSpeed, 2, timeoutMs);
    if (status.bytes.size() < 2 || crystal.bytes.size() < 2 || status.surplus || crystal.surplus ||
        (wordOf(status.bytes) & vp::status_word::kInitialized) == 0 || wordOf(crystal.bytes) == 0 ||
        wordOf(crystal.bytes) > 255) {
        garbage = hexOf(revision.bytes) + " " + hexOf(status.bytes) + " " + hexOf(crystal.bytes);
        return std::nullopt;
    }
    found.statusWord = wordOf(status.bytes);
    found.crystalMHz = wordOf(crystal.bytes);
    found.master = (found.statusWord & vp::status_word::kMaster) != 0;
    found.addressingMode = (found.statusWord & vp::status_word::kExpandedAddressing) != 0 ? 1 : 0;
    if (found.revision > kFirstRevisionWithAddressingMode) {
        const Answer mode = examine(line, vp::Parameter::AddressingMode, 1, timeoutMs);
        if (mode.bytes.size() == 1 && mode.bytes[0] <= 2)
            found.addressingMode = mode.bytes[0];
    }
    const Answer model = examine(line, vp::Parameter::ModelIdentification, 10, timeoutMs);
    for (uint8_t c : model.bytes)
        if (c >= 0x20 && c < 0x7F)
            found.model += static_cast<char>(c);
    found.model.erase(found.model.find_last_not_of(' ') + 1);
    if (found.master) {
        const std::size_t count = vp::systemStatusBytes(found.addressingMode);
        const Answer units = examine(line, vp::Parameter::SystemStatus, count, timeoutMs);
        for (std::size_t i = 0; i < units.bytes.size(); ++i)
            if ((units.bytes[i] & vp::unit_status::kAccessible) != 0)
                found.units.push_back({static_cast<int>(i + 1), units.bytes[i]});
    }
    return found;
}

PortFinding outcome(PortFinding::Outcome kind, std::string reason)
{
    PortFinding finding;
    finding.outcome = kind;
    finding.reason = std::move(reason);
    return finding;
}

// "115200" or "115200..2400": the rates tried, first to last.
std::string rateList(const std::vector<uint32_t>& bauds)
{
    if (bauds.empty())
        return "no";
    return std::to_string(bauds.front()) + (bauds.size() > 1 ? ".." + std::to_string(bauds.back()) : "");
}

} // namespace

PortFinding probePort(const std::string& path, const std::vector<uint32_t>& bauds, uint32_t answerTimeoutMs,
                      const ProbeProgress& progress)
{
    // Bytes sent to a port another program uses would break into its session.
    if (const std::string users = portUsers(path); !users.empty())
        return outcome(PortFinding::Outcome::Busy, "busy: open in " + users);
    SerialLine line;
    if (!line.open(path)) {
        const std::string& why = line.errorText();
        if (why.find("in use") != std::string::npos || why.find("Device or resource busy") != std::string::npos)
            return outcome(PortFinding::Outcome::Busy, "busy: another program holds it");
        if (why.find("ermission") != std::string::npos)
            return outcome(PortFinding::Outcome::NoPermission,
                           "no permission: add your user to the 'dialout' group, then log in again");
        return outcome(PortFinding::Outcome::CannotOpen, why);
    }
    // A unit held in reset by RTS cannot answer; RTS low lets it run.
    line.setRts(false);
    std::string garbage;
    for (uint32_t baud : bauds) {
        if (progress)
            progress(baud);
        if (!line.configure(baud))
            return outcome(PortFinding::Outcome::CannotOpen, line.errorText());
        if (auto found = askAtBaud(line, answerTimeoutMs, garbage)) {
            found->baud = baud;
            return *found;
        }
    }
    if (!garbage.empty())
        return outcome(PortFinding::Outcome::Garbage,
                       "answers, but not as a Vorn unit does (last answer: " + garbage + ")");
    return outcome(PortFinding::Outcome::Silent,
                   "silent at " + rateList(bauds) + " baud (" + std::to_string(answerTimeoutMs) + " ms each)");
}

} // namespace vornctl

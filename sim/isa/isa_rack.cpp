#include "isa/isa_rack.h"

#include "inspect/sent_readings.h"
#include "protocol/commands.h"
#include "protocol/fvb_prefix.h"
#include "protocol/parameters.h"
#include "protocol/word_codec.h"

#include <algorithm>

namespace vorn::sim {

namespace {

using protocol::Command;
using protocol::Parameter;

constexpr uint8_t kClearCommand = 0x66;
constexpr uint16_t kCanTakeWord = 0x0001;
constexpr uint16_t kAnswerWaiting = 0x0002;
constexpr uint16_t kFloatingBus = 0xFFFF;
constexpr uint16_t kFirstTaggingMasterRevision = 0x0340;
// Reports a reader that fell behind gets at once; older ones are gone.
constexpr uint64_t kMaxBacklogReports = 64;

} // namespace

struct IsaRack::Board {
    uint16_t base = 0;
    uint8_t owner = 0;    // the unit on this board
    uint16_t control = 1; // 0 holds the board in reset
    std::deque<uint16_t> answers;
    std::vector<uint8_t> input; // command bytes not yet taken
    std::vector<uint16_t> written;
    bool streaming = false;
    Clock::time_point streamStart {};
    uint64_t reportsSent = 0;
    Clock::time_point cycleStart {};
    uint64_t cyclesSent = 0;
};

IsaRack::IsaRack(IsaConfig config, Log log) : metal_(std::move(config.metal)), log_(std::move(log))
{
    for (const IsaUnitConfig& unitConfig : config.units) {
        units_.push_back(std::make_unique<IsaUnit>(unitConfig, unitSeed(config.seed, unitConfig.address)));
        if (unitConfig.base != 0) {
            auto board = std::make_unique<Board>();
            board->base = unitConfig.base;
            board->owner = unitConfig.address;
            boards_.push_back(std::move(board));
        }
    }
}

IsaRack::~IsaRack() = default;

double IsaRack::seconds() const
{
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

IsaRack::Board* IsaRack::boardAt(uint16_t port, bool& statusPort)
{
    for (auto& board : boards_) {
        if (port == board->base || port == board->base + 2) {
            statusPort = port == board->base + 2;
            return board.get();
        }
    }
    return nullptr;
}

IsaUnit* IsaRack::unit(uint8_t address)
{
    for (auto& u : units_)
        if (u->address() == address)
            return u.get();
    return nullptr;
}

IsaUnit& IsaRack::owner(const Board& board)
{
    return *unit(board.owner);
}

uint16_t IsaRack::read(uint16_t port)
{
    std::lock_guard lock(mutex_);
    bool status = false;
    Board* board = boardAt(port, status);
    if (board == nullptr)
        return kFloatingBus;
    catchUp(*board);
    if (status) {
        if (deaf_)
            return 0;
        return static_cast<uint16_t>((board->control == 1 ? kCanTakeWord : 0) |
                                     (board->answers.empty() ? 0 : kAnswerWaiting));
    }
    if (board->answers.empty())
        return 0;
    const uint16_t word = board->answers.front();
    board->answers.pop_front();
    return word;
}

void IsaRack::write(uint16_t port, uint16_t word)
{
    std::lock_guard lock(mutex_);
    bool status = false;
    Board* board = boardAt(port, status);
    if (board == nullptr)
        return;
    if (status) {
        if (word == 1 && board->control == 0) {
            // Out of reset: the board's unit, and the units it reaches, power up.
            for (auto& u : units_)
                if (u->address() == board->owner || (board->owner == 1 && u->config().base == 0))
                    u->reset();
            if (log_)
                log_("isa: board at " + baseText(board->base) + " out of reset");
        }
        if (word == 0) {
            board->answers.clear();
            board->input.clear();
            board->streaming = false;
        }
        board->control = word;
        return;
    }
    if (board->control != 1)
        return;
    board->written.push_back(word);
    board->input.push_back(static_cast<uint8_t>(word >> 8));
    board->input.push_back(static_cast<uint8_t>(word));
    takeCommands(*board);
}

void IsaRack::takeCommands(Board& board)
{
    auto& in = board.input;
    while (!in.empty()) {
        std::size_t at = 0;
        uint8_t address = board.owner;
        const protocol::FvbPrefixMatch prefix = protocol::matchFvbPrefix(in);
        if (prefix.kind == protocol::FvbPrefixMatch::Kind::NeedMore)
            return;
        if (prefix.kind == protocol::FvbPrefixMatch::Kind::Invalid) {
            in.erase(in.begin(), in.begin() + static_cast<long>(std::max<std::size_t>(prefix.length, 1)));
            continue;
        }
        if (prefix.kind == protocol::FvbPrefixMatch::Kind::Prefix) {
            address = prefix.address;
            at = prefix.length;
        }
        if (in.size() <= at)
            return;
        const uint8_t command = in[at];
        int arguments = command == kClearCommand ? 0 : protocol::commandArgumentBytes(command);
        if (command == protocol::toByte(Command::ChangeValue)) {
            if (in.size() <= at + 1)
                return;
            arguments =
                1 + static_cast<int>(protocol::changeValueBytes(in[at + 1], protocol::Connection::Isa).value_or(2));
        }
        if (arguments < 0) {
            if (log_)
                log_("isa: unknown command byte " + std::to_string(command) + "; word dropped");
            in.erase(in.begin(), in.begin() + std::min<std::size_t>(2, in.size()));
            continue;
        }
        std::size_t total = at + 1 + static_cast<std::size_t>(arguments);
        if (in.size() < total)
            return;
        const std::vector<uint8_t> args(in.begin() + static_cast<long>(at + 1), in.begin() + static_cast<long>(total));
        // A command ends on a word boundary: an odd last byte was padded.
        total = std::min(in.size(), total + (total % 2));
        in.erase(in.begin(), in.begin() + static_cast<long>(total));
        execute(board, address, command, args);
    }
}

void IsaRack::examine(Board& board, IsaUnit& target, uint8_t parameter)
{
    std::vector<uint16_t> words;
    if (parameter == protocol::toByte(Parameter::SystemStatus) ||
        parameter == protocol::toByte(Parameter::FvbAutoConfiguration)) {
        const uint8_t mode = target.config().addressingMode;
        std::vector<uint8_t> bytes(protocol::isaAnswerBytes(parameter, mode).value_or(0), 0);
        if (parameter == protocol::toByte(Parameter::SystemStatus))
            for (auto& u : units_)
                if (u->address() >= 1 && u->address() <= bytes.size())
                    bytes[u->address() - 1u] = u->unitStatusByte();
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            words.push_back(protocol::readBigEndian16(&bytes[i]));
    } else if (!target.examine(parameter, words)) {
        if (log_)
            log_("isa: examine of unknown parameter " + std::to_string(parameter));
        return;
    }
    board.answers.insert(board.answers.end(), words.begin(), words.end());
}

void IsaRack::execute(Board& board, uint8_t address, uint8_t command, std::span<const uint8_t> arguments)
{
    IsaUnit* target = unit(address);
    if (command == kClearCommand) {
        board.answers.clear();
        board.streaming = false;
        owner(board).settings().streaming = false;
        owner(board).settings().dataReady = false;
        return;
    }
    if (target == nullptr) {
        if (log_)
            log_("isa: command for vorn #" + std::to_string(address) + ", which is not there");
        return;
    }
    switch (static_cast<Command>(command)) {
    case Command::ExamineValue: examine(board, *target, arguments[0]); return;
    case Command::ChangeValue: {
        const bool wasReporting = owner(board).settings().dataReady;
        target->change(arguments[0], arguments.subspan(1));
        if (!wasReporting && owner(board).settings().dataReady) {
            board.cycleStart = Clock::now();
            board.cyclesSent = 0;
        }
        return;
    }
    case Command::Point: appendReport(board, *target); return;
    case Command::Stream:
        board.streaming = true;
        board.streamStart = Clock::now();
        board.reportsSent = 0;
        target->settings().streaming = true;
        return;
    case Command::HardRestart: target->reset(); return;
    default:
        if (!target->apply(command, arguments) && log_)
            log_("isa: command " + std::to_string(command) + " ignored");
        return;
    }
}

void IsaRack::appendRecord(Board& board, IsaUnit& u, bool tag, std::optional<double> at)
{
    std::vector<uint16_t> words;
    const std::optional<VornReading> sent = u.appendRecord(at.value_or(seconds()), metal_, tag, words);
    if (!words.empty() && corruptPhasing_ > 0) {
        words.front() &= static_cast<uint16_t>(~1u);
        --corruptPhasing_;
    }
    // A board whose reader fell far behind drops the record: it was never sent,
    // and logging it would push out readings still waiting on the board.
    if (board.answers.size() + words.size() > kMaxQueuedWords)
        return;
    board.answers.insert(board.answers.end(), words.begin(), words.end());
    if (sent)
        sentReadings().record(u.address(), *sent);
}

// One report of the unit addressed: in group mode on the master, every
// unit's record with its tag; otherwise the unit's own record.
void IsaRack::appendReport(Board& board, IsaUnit& target, std::optional<double> at)
{
    IsaUnit& master = owner(board);
    if (&target != &master || !master.settings().groupMode || master.address() != 1) {
        if (target.config().sensor)
            appendRecord(board, target, master.settings().groupMode, at);
        return;
    }
    for (auto& u : units_) {
        if (!u->config().sensor)
            continue;
        const bool tag = u->address() != 1 || master.config().softwareRevision >= kFirstTaggingMasterRevision;
        appendRecord(board, *u, tag, at);
    }
}

void IsaRack::catchUp(Board& board)
{
    IsaUnit& master = owner(board);
    const Clock::time_point now = Clock::now();
    const double rate = master.measurementRate() > 0 ? master.measurementRate() : 1.0;
    if (board.streaming) {
        const double period = std::max<uint8_t>(master.settings().reportRate, 1) / rate;
        const auto due = static_cast<uint64_t>(std::chrono::duration<double>(now - board.streamStart).count() / period);
        if (due > board.reportsSent + kMaxBacklogReports)
            board.reportsSent = due - kMaxBacklogReports;
        // Reports are made when the host reads, each measured at its own cycle.
        const double streamStart = std::chrono::duration<double>(board.streamStart - start_).count();
        for (; board.reportsSent < due; ++board.reportsSent)
            appendReport(board, master, streamStart + static_cast<double>(board.reportsSent + 1) * period);
    }
    if (master.settings().dataReady) {
        const auto due = static_cast<uint64_t>(std::chrono::duration<double>(now - board.cycleStart).count() * rate);
        if (due > board.cyclesSent + kMaxBacklogReports)
            board.cyclesSent = due - kMaxBacklogReports;
        for (; board.cyclesSent < due; ++board.cyclesSent)
            if (board.answers.size() < kMaxQueuedWords)
                board.answers.push_back(protocol::kDataReadyCharacter);
    }
}

std::vector<uint16_t> IsaRack::wordsWritten(uint16_t base) const
{
    std::lock_guard lock(mutex_);
    for (const auto& board : boards_)
        if (board->base == base)
            return board->written;
    return {};
}

void IsaRack::clearLog()
{
    std::lock_guard lock(mutex_);
    for (auto& board : boards_)
        board->written.clear();
}

std::optional<IsaUnitSettings> IsaRack::settingsOf(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    for (const auto& u : units_)
        if (u->address() == address)
            return u->settings();
    return std::nullopt;
}

uint16_t IsaRack::controlRegister(uint16_t base) const
{
    std::lock_guard lock(mutex_);
    for (const auto& board : boards_)
        if (board->base == base)
            return board->control;
    return 0;
}

void IsaRack::corruptPhasing(int records)
{
    std::lock_guard lock(mutex_);
    corruptPhasing_ = records;
}

void IsaRack::setDeaf(bool deaf)
{
    std::lock_guard lock(mutex_);
    deaf_ = deaf;
}

} // namespace vorn::sim

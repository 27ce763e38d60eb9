#include "rs232/rs232_line.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vorn::sim {

namespace {

// While nobody has the line open the master side reports a hang-up on every poll, so the
// thread looks for the other side's open at this interval instead of polling the descriptor.
constexpr auto kOpenCheckInterval = std::chrono::milliseconds(10);
constexpr auto kIdleWake = std::chrono::seconds(1);
// After a stall or a slow reader the stream picks up from now rather than bursting.
constexpr auto kMaxCycleBacklog = std::chrono::seconds(1);
constexpr uint8_t kDataReadyCharacter = 0x2C;
// Raw samples leave in batches this far apart rather than one wake-up per sample.
constexpr auto kRawBatch = std::chrono::milliseconds(2);
// A line that cannot carry the samples loses whole ones once this much waits to leave.
constexpr double kRawBacklogSeconds = 0.05;

} // namespace

Rs232Line::Rs232Line(Vornset& vornset, uint8_t owner, std::filesystem::path link, LineTiming timing, Log log)
    : vornset_(vornset), owner_(owner), timing_(timing), log_(std::move(log)), terminal_(std::move(link)),
      reader_(timing.partialCommand, [this](const std::string& text) { log_(text); }),
      lineCheck_(vornset.lineCheck(owner))
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_NONBLOCK | O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "cannot create a wake-up pipe");
    }
    wakeRead_ = pipeFds[0];
    wakeWrite_ = pipeFds[1];
}

Rs232Line::~Rs232Line()
{
    stop();
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void Rs232Line::start()
{
    if (running_.exchange(true)) {
        return;
    }
    thread_ = std::thread([this] { run(); });
}

void Rs232Line::stop()
{
    if (!running_.exchange(false)) {
        return;
    }
    wake();
    thread_.join();
}

void Rs232Line::wake()
{
    const uint8_t byte = 1;
    [[maybe_unused]] const auto ignored = ::write(wakeWrite_, &byte, 1);
}

void Rs232Line::run()
{
    while (running_) {
        const auto now = Clock::now();
        const auto deadline = serve(now);
        std::array<pollfd, 2> fds {};
        fds[0] = {wakeRead_, POLLIN, 0};
        nfds_t count = 1;
        if (peerOpen_ && terminal_.fd() >= 0) {
            fds[1] = {terminal_.fd(), static_cast<short>(POLLIN | (output_.blocked() ? POLLOUT : 0)), 0};
            count = 2;
        }
        const auto wait = std::clamp<Clock::duration>(deadline - Clock::now(), Clock::duration::zero(), kIdleWake);
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        const timespec timeout {static_cast<time_t>(nanoseconds / 1000000000),
                                static_cast<long>(nanoseconds % 1000000000)};
        ::ppoll(fds.data(), count, &timeout, nullptr);
        std::array<uint8_t, 64> drain {};
        while (::read(wakeRead_, drain.data(), drain.size()) > 0) {
        }
    }
}

Rs232Line::Clock::time_point Rs232Line::serve(Clock::time_point now)
{
    if (handleClosure(now)) {
        return reopenAt_ ? std::min(*reopenAt_, now + kOpenCheckInterval) : now + kOpenCheckInterval;
    }
    readInput(now);
    if (restarting_ && now >= silentUntil_) {
        restarting_ = false;
        log_("unit " + std::to_string(owner_) + " restarted");
        powerUp();
    }
    auto deadline = now + kIdleWake;
    if (!restarting_) {
        runCommands(now);
        if (const auto partial = reader_.partialDeadline()) {
            deadline = std::min(deadline, std::max(*partial, now));
        }
    }
    if (restarting_) {
        deadline = std::min(deadline, silentUntil_);
    }
    deadline = std::min(deadline, runCycles(now));
    deadline = std::min(deadline, runRawStream(now));
    if (!restarting_) {
        deadline = std::min(deadline, runLineCheck(now));
    }
    std::lock_guard lock(faultsMutex_);
    if (const auto more = output_.flush(terminal_.fd(), terminal_.baudRate(), now, faults_)) {
        deadline = std::min(deadline, *more);
    }
    sent_ = output_.sent();
    return deadline;
}

bool Rs232Line::handleClosure(Clock::time_point now)
{
    {
        std::lock_guard lock(faultsMutex_);
        if (faults_.closeFor) {
            log_("line of unit " + std::to_string(owner_) + " closed by fault injection");
            reopenAt_ = now + *faults_.closeFor;
            faults_.closeFor.reset();
            terminal_.close();
            peerOpen_ = false;
            output_.clear();
            stopStream();
        }
    }
    if (reopenAt_) {
        if (now < *reopenAt_) {
            return true;
        }
        terminal_.reopen();
        reopenAt_.reset();
    }
    const bool open = terminal_.peerOpen();
    if (open && !peerOpen_) {
        log_("line of unit " + std::to_string(owner_) + " opened: unit resets");
        peerOpen_ = true;
        powerUp();
    } else if (!open && peerOpen_) {
        log_("line of unit " + std::to_string(owner_) + " closed by the other side");
        peerOpen_ = false;
        output_.clear();
    }
    return !peerOpen_;
}

void Rs232Line::readInput(Clock::time_point now)
{
    std::array<uint8_t, 4096> buffer {};
    for (;;) {
        const ssize_t n = ::read(terminal_.fd(), buffer.data(), buffer.size());
        if (n <= 0) {
            return;
        }
        const std::span<const uint8_t> bytes(buffer.data(), static_cast<std::size_t>(n));
        received_.append(bytes, now);
        if (restarting_) {
            log_("unit " + std::to_string(owner_) + " is restarting: ignored " + std::to_string(n) + " bytes");
            continue;
        }
        if (lineCheck_.on()) {
            scratch_.clear();
            lineCheck_.answer(bytes, scratch_.bytes);
            std::lock_guard lock(faultsMutex_);
            output_.enqueue(scratch_, faults_);
            continue;
        }
        reader_.feed(bytes, now);
    }
}

void Rs232Line::runCommands(Clock::time_point now)
{
    while (const auto command = reader_.next(now)) {
        scratch_.clear();
        const CommandEffect effect = vornset_.execute(*command, owner_, scratch_);
        {
            std::lock_guard lock(faultsMutex_);
            output_.enqueue(scratch_, faults_);
        }
        apply(effect, now);
        if (restarting_) {
            return;
        }
    }
}

void Rs232Line::apply(const CommandEffect& effect, Clock::time_point now)
{
    switch (effect.action) {
    case LineAction::None: return;
    case LineAction::Point:
        if (streaming_ || rawStreaming_) {
            stopStream(); // the point command ends a stream and answers nothing
            return;
        }
        scratch_.clear();
        vornset_.appendReport(effect.unit, scratch_);
        break;
    case LineAction::StartStream:
        stopStream();
        streaming_ = true;
        streamUnit_ = effect.unit;
        cyclesSinceStreamStart_ = 0;
        vornset_.setStreaming(effect.unit, true);
        return;
    case LineAction::StartRawStream: startRawStream(effect.unit, now); return;
    case LineAction::StopStream: stopStream(); return;
    case LineAction::HardRestart:
        log_("unit " + std::to_string(owner_) + " hard restart");
        stopStream();
        restarting_ = true;
        silentUntil_ = now + timing_.restartSilence;
        reader_.clear();
        output_.clear();
        return;
    }
    std::lock_guard lock(faultsMutex_);
    output_.enqueue(scratch_, faults_);
}

void Rs232Line::stopStream()
{
    if (streaming_ || rawStreaming_) {
        vornset_.setStreaming(streamUnit_, false);
    }
    streaming_ = false;
    rawStreaming_ = false;
}

void Rs232Line::startRawStream(uint8_t unit, Clock::time_point now)
{
    stopStream();
    rawStreaming_ = true;
    streamUnit_ = unit;
    rawRate_ = vornset_.rawSampleRate(unit);
    rawStart_ = now;
    rawNext_ = 0;
    rawDropLogged_ = false;
    vornset_.setStreaming(unit, true);
    vornset_.startRecording(unit);
}

Rs232Line::Clock::time_point Rs232Line::runRawStream(Clock::time_point now)
{
    if (!rawStreaming_) {
        return Clock::time_point::max();
    }
    const double elapsed = std::chrono::duration<double>(now - rawStart_).count();
    const auto due = static_cast<uint64_t>(elapsed * rawRate_);
    if (due > rawNext_) {
        const auto backlogLimit = static_cast<std::size_t>(terminal_.baudRate() / 10.0 * kRawBacklogSeconds) + 2;
        bool full = false;
        {
            std::lock_guard lock(faultsMutex_);
            full = output_.pendingBytes() > backlogLimit;
        }
        if (full) {
            // Whole samples are lost, never single bytes: the words stay aligned.
            if (!rawDropLogged_) {
                log_("line of unit " + std::to_string(owner_) + " cannot carry " +
                     std::to_string(static_cast<int>(rawRate_)) + " raw samples a second: samples lost");
                rawDropLogged_ = true;
            }
        } else {
            scratch_.clear();
            vornset_.appendRawSamples(streamUnit_, rawNext_, static_cast<std::size_t>(due - rawNext_), scratch_);
            std::lock_guard lock(faultsMutex_);
            output_.enqueue(scratch_, faults_);
        }
        rawNext_ = due;
    }
    const auto nextSample = rawStart_ + std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>((rawNext_ + 1) / rawRate_));
    return std::max(nextSample, now + kRawBatch);
}

Rs232Line::Clock::time_point Rs232Line::runLineCheck(Clock::time_point now)
{
    scratch_.clear();
    const auto next = lineCheck_.tick(now, scratch_.bytes);
    if (!scratch_.bytes.empty()) {
        std::lock_guard lock(faultsMutex_);
        output_.enqueue(scratch_, faults_);
    }
    return next.value_or(Clock::time_point::max());
}

void Rs232Line::powerUp()
{
    stopStream();
    vornset_.resetLine(owner_);
    lineCheck_.reset(Clock::now());
    reader_.clear();
    output_.clear();
    cyclesRunning_ = false;
}

Rs232Line::Clock::time_point Rs232Line::runCycles(Clock::time_point now)
{
    const CyclePace ownerPace = vornset_.pace(owner_);
    const CyclePace pace = streaming_ ? vornset_.pace(streamUnit_) : ownerPace;
    if (restarting_ || (!streaming_ && !ownerPace.dataReady)) {
        cyclesRunning_ = false;
        return Clock::time_point::max();
    }
    const auto period =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / pace.measurementRate));
    if (!cyclesRunning_) {
        cyclesRunning_ = true;
        nextCycle_ = now + period;
        return nextCycle_;
    }
    scratch_.clear();
    while (now >= nextCycle_) {
        if (ownerPace.dataReady) {
            scratch_.bytes.push_back(kDataReadyCharacter);
        }
        if (streaming_ && cyclesSinceStreamStart_++ % pace.reportRate == 0) {
            vornset_.appendReport(streamUnit_, scratch_, nextCycle_);
        }
        nextCycle_ += period;
        if (now - nextCycle_ > kMaxCycleBacklog) {
            nextCycle_ = now + period;
        }
    }
    if (!scratch_.bytes.empty()) {
        std::lock_guard lock(faultsMutex_);
        output_.enqueue(scratch_, faults_);
    }
    return nextCycle_;
}

void Rs232Line::corruptPhasingBits(std::size_t records)
{
    std::lock_guard lock(faultsMutex_);
    faults_.corruptPhasingRecords += records;
}

void Rs232Line::dropBytes(std::size_t count)
{
    std::lock_guard lock(faultsMutex_);
    faults_.dropBytes += count;
}

void Rs232Line::duplicateBytes(std::size_t count)
{
    std::lock_guard lock(faultsMutex_);
    faults_.duplicateBytes += count;
}

void Rs232Line::insertGarbage(std::vector<uint8_t> bytes)
{
    {
        std::lock_guard lock(faultsMutex_);
        faults_.garbage.insert(faults_.garbage.end(), bytes.begin(), bytes.end());
    }
    wake();
}

void Rs232Line::stall(std::chrono::milliseconds duration)
{
    {
        std::lock_guard lock(faultsMutex_);
        faults_.stallUntil = Clock::now() + duration;
    }
    wake();
}

void Rs232Line::closeLine(std::chrono::milliseconds reopenAfter)
{
    {
        std::lock_guard lock(faultsMutex_);
        faults_.closeFor = reopenAfter;
    }
    wake();
}

} // namespace vorn::sim

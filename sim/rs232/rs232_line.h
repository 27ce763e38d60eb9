// One serial line of the simulator: a pseudo-terminal served by its own thread, which
// reads commands for the unit that owns the line (and, through its prefixes, for the units
// behind a master), answers them, and paces streams and data-ready characters in real time.
#pragma once

#include "inspect/received_log.h"
#include "rs232/dip_switch_line_check.h"
#include "rs232/line_faults.h"
#include "rs232/paced_output.h"
#include "rs232/pseudo_terminal.h"
#include "unit/command_reader.h"
#include "unit/vornset.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

namespace vorn::sim {

struct LineTiming {
    std::chrono::milliseconds restartSilence {4000}; // "b": the unit reboots
    std::chrono::milliseconds partialCommand {250};  // a truncated command is dropped after this
};

class Rs232Line {
public:
    Rs232Line(Vornset& vornset, uint8_t owner, std::filesystem::path link, LineTiming timing, Log log);
    ~Rs232Line();
    Rs232Line(const Rs232Line&) = delete;
    Rs232Line& operator=(const Rs232Line&) = delete;

    void start();
    void stop();

    uint8_t owner() const { return owner_; }
    const std::filesystem::path& path() const { return terminal_.link(); }
    const ReceivedLog& received() const { return received_; }
    ReceivedLog& received() { return received_; }
    std::size_t bytesSent() const { return sent_.load(); }

    // Fault injection; each takes effect on the line's thread at once.
    void corruptPhasingBits(std::size_t records);
    void dropBytes(std::size_t count);
    void duplicateBytes(std::size_t count);
    void insertGarbage(std::vector<uint8_t> bytes);
    void stall(std::chrono::milliseconds duration);
    void closeLine(std::chrono::milliseconds reopenAfter);

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void wake();
    // One pass: returns when the thread must look again at the latest.
    Clock::time_point serve(Clock::time_point now);
    void readInput(Clock::time_point now);
    void runCommands(Clock::time_point now);
    void apply(const CommandEffect& effect, Clock::time_point now);
    Clock::time_point runCycles(Clock::time_point now);
    void startRawStream(uint8_t unit, Clock::time_point now);
    Clock::time_point runRawStream(Clock::time_point now);
    Clock::time_point runLineCheck(Clock::time_point now);
    void powerUp();
    void stopStream();
    bool handleClosure(Clock::time_point now);

    Vornset& vornset_;
    uint8_t owner_;
    LineTiming timing_;
    Log log_;
    PseudoTerminal terminal_;
    CommandReader reader_;
    PacedOutput output_;
    LineOutput scratch_;
    ReceivedLog received_;

    std::mutex faultsMutex_;
    LineFaults faults_;

    bool peerOpen_ = false;
    std::optional<Clock::time_point> reopenAt_;
    Clock::time_point silentUntil_ {};
    bool restarting_ = false;

    bool streaming_ = false;
    uint8_t streamUnit_ = 0;
    uint64_t cyclesSinceStreamStart_ = 0;
    bool cyclesRunning_ = false;
    Clock::time_point nextCycle_ {};

    bool rawStreaming_ = false;
    double rawRate_ = 1.0;
    Clock::time_point rawStart_ {};
    uint64_t rawNext_ = 0; // index of the next raw sample due
    bool rawDropLogged_ = false;

    LineCheck lineCheck_;

    std::atomic<bool> running_ {false};
    std::atomic<std::size_t> sent_ {0};
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::thread thread_;
};

} // namespace vorn::sim

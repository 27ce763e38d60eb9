// The simulated ISA boards in a host: each board's data and status/control
// registers at its base address, the command words it takes (commands for
// units without a board of their own arrive on the master's board behind an
// FVB prefix), its answer words, reset through the control register, the
// clear word 0x6600, and streams and data-ready characters paced by the
// clock: due reports are added whenever a port is accessed.
#pragma once

#include "isa/isa_config.h"
#include "isa/isa_unit.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vorn::sim {

class IsaRack {
public:
    using Log = std::function<void(const std::string&)>;
    // Answer words a board holds at most; later reports are lost, as on a
    // board whose reader does not keep up.
    static constexpr std::size_t kMaxQueuedWords = 16384;

    explicit IsaRack(IsaConfig config, Log log = {});
    ~IsaRack();

    // One port access, as the port-I/O service performs it.
    uint16_t read(uint16_t port);
    void write(uint16_t port, uint16_t word);

    // Command words the board at `base` took since the last clearLog().
    std::vector<uint16_t> wordsWritten(uint16_t base) const;
    void clearLog();
    std::optional<IsaUnitSettings> settingsOf(uint8_t address) const;
    uint16_t controlRegister(uint16_t base) const;

    // Faults: the next `records` records go out without their phasing flag;
    // deaf boards never show a status bit.
    void corruptPhasing(int records);
    void setDeaf(bool deaf);

private:
    struct Board;
    using Clock = std::chrono::steady_clock;

    Board* boardAt(uint16_t port, bool& statusPort);
    IsaUnit* unit(uint8_t address);
    IsaUnit& owner(const Board& board);
    void takeCommands(Board& board);
    void execute(Board& board, uint8_t address, uint8_t command, std::span<const uint8_t> arguments);
    // `at`: the measurement's time (seconds since the rack started), when
    // it is a cycle of a stream; else now.
    void appendReport(Board& board, IsaUnit& target, std::optional<double> at = std::nullopt);
    void appendRecord(Board& board, IsaUnit& unit, bool tag, std::optional<double> at);
    void catchUp(Board& board);
    void examine(Board& board, IsaUnit& target, uint8_t parameter);
    double seconds() const;

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<IsaUnit>> units_;
    std::vector<std::unique_ptr<Board>> boards_;
    std::vector<MetalObject> metal_;
    Log log_;
    Clock::time_point start_ = Clock::now();
    int corruptPhasing_ = 0;
    bool deaf_ = false;
};

} // namespace vorn::sim

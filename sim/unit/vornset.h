// The units of one FVB: the master answers for the bus (system status, auto-configuration,
// group mode) and relays commands that carry an address prefix to the unit they name.
// Every line thread of the simulator goes through here, so it holds the one lock.
#pragma once

#include "model/magnetic_environment.h"
#include "unit/parsed_command.h"
#include "unit/unit.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace vorn::sim {

// What a command asks of the line it arrived on.
// Point sends one report, or ends the line's stream when one runs.
// A unit in test mode answers the stream command with raw samples instead.
enum class LineAction : uint8_t { None, Point, StartStream, StartRawStream, StopStream, HardRestart };

struct CommandEffect {
    LineAction action = LineAction::None;
    uint8_t unit = 0; // the addressed unit
};

// Bytes for the line, with the offset where each data record starts (for fault injection).
struct LineOutput {
    std::vector<uint8_t> bytes;
    std::vector<std::size_t> recordStarts;

    void clear()
    {
        bytes.clear();
        recordStarts.clear();
    }
};

// Pace of a stream or of the data-ready character.
struct CyclePace {
    double measurementRate = 100.0;
    uint8_t reportRate = 1;
    bool dataReady = false;
};

class Vornset {
public:
    Vornset(const std::vector<UnitConfig>& units, std::vector<MetalObject> metal,
            const MagneticEnvironment& environment, uint64_t seed, Log log);

    // Runs one command that arrived on the line of unit `lineOwner`.
    CommandEffect execute(const ParsedCommand& command, uint8_t lineOwner, LineOutput& out);

    // Appends the records that a point or one stream report of `unit` produces.
    // `cycle`: the measurement cycle's time, for a report of a stream; else now.
    void appendReport(uint8_t unit, LineOutput& out,
                      std::optional<std::chrono::steady_clock::time_point> cycle = std::nullopt);

    // Powers the line's unit up again; the master takes the units without lines along.
    void resetLine(uint8_t lineOwner);

    void setStreaming(uint8_t unit, bool streaming);
    CyclePace pace(uint8_t unit) const;

    // Test-mode raw samples: their rate, the start of a recording, and samples
    // `first` .. `first + count - 1` of it.
    double rawSampleRate(uint8_t unit) const;
    void startRecording(uint8_t unit);
    void appendRawSamples(uint8_t unit, uint64_t first, std::size_t count, LineOutput& out);

    // The line test the unit's switches select.
    LineCheckMode lineCheck(uint8_t unit) const;

    // A copy of a unit's settings, for inspection; nullopt for an unknown address.
    std::optional<UnitSettings> settingsOf(uint8_t address) const;

    uint8_t masterAddress() const;

private:
    Unit* find(uint8_t address);
    const Unit* find(uint8_t address) const;
    Unit& master();
    const Unit& master() const;
    bool standAlone() const;
    bool extendedRangeSystem() const;
    bool masterTags() const;
    std::vector<Unit*> groupMembers();
    void examine(Unit& unit, uint8_t parameter, LineOutput& out);
    void appendSystemStatus(LineOutput& out) const;
    void appendAutoConfiguration(LineOutput& out) const;
    double now() const;

    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Unit>> units_; // in address order
    std::vector<MetalObject> metal_;
    Log log_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace vorn::sim

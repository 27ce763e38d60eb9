#include "unit/vornset.h"

#include "protocol/commands.h"
#include "protocol/factory_commands.h"
#include "protocol/parameters.h"

#include <algorithm>

namespace vorn::sim {

namespace vp = vorn::protocol;

namespace {
constexpr uint16_t kFirstRevisionWithMasterTag = 0x0340; // 3.64
} // namespace

Vornset::Vornset(const std::vector<UnitConfig>& units, std::vector<MetalObject> metal,
                 const MagneticEnvironment& environment, uint64_t seed, Log log)
    : metal_(std::move(metal)), log_(std::move(log)), start_(std::chrono::steady_clock::now())
{
    for (const auto& config : units) {
        units_.push_back(std::make_unique<Unit>(config, environment, unitSeed(seed, config.address)));
    }
    std::sort(units_.begin(), units_.end(), [](const auto& a, const auto& b) { return a->address() < b->address(); });
}

double Vornset::now() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

Unit* Vornset::find(uint8_t address)
{
    for (auto& unit : units_) {
        if (unit->address() == address) {
            return unit.get();
        }
    }
    return nullptr;
}

const Unit* Vornset::find(uint8_t address) const
{
    return const_cast<Vornset*>(this)->find(address);
}

Unit& Vornset::master()
{
    return *units_.front();
}

const Unit& Vornset::master() const
{
    return *units_.front();
}

uint8_t Vornset::masterAddress() const
{
    return master().address();
}

bool Vornset::standAlone() const
{
    return master().address() == 0;
}

bool Vornset::extendedRangeSystem() const
{
    if (standAlone()) {
        return false;
    }
    return std::any_of(units_.begin(), units_.end(), [](const auto& unit) { return unit->extendedRange(); });
}

bool Vornset::masterTags() const
{
    return master().config().softwareRevision >= kFirstRevisionWithMasterTag;
}

std::vector<Unit*> Vornset::groupMembers()
{
    const uint8_t configured = master().settings().fvbUnits;
    std::vector<Unit*> members;
    for (auto& unit : units_) {
        if (configured == 0 || unit->address() <= configured) {
            members.push_back(unit.get());
        }
    }
    return members;
}

CommandEffect Vornset::execute(const ParsedCommand& command, uint8_t lineOwner, LineOutput& out)
{
    std::lock_guard lock(mutex_);
    uint8_t address = command.address.value_or(lineOwner);
    // 0xF0 names address 0: on a vornset that is the master itself.
    if (command.address && address == 0) {
        address = master().address();
    }
    Unit* unit = find(address);
    if (unit == nullptr) {
        log_("no unit at address " + std::to_string(address) + " for command " +
             std::string(vp::commandName(command.command)));
        return {};
    }
    const CommandEffect effect {LineAction::None, address};
    using vp::Command;
    switch (command.command) {
    case vp::toByte(Command::Stream):
        return {unit->rawSampleMode().active() ? LineAction::StartRawStream : LineAction::StartStream, address};
    case vp::toByte(Command::Point): return {LineAction::Point, address};
    case vp::kStopStream: return {LineAction::StopStream, address};
    case vp::toByte(Command::HardRestart): return {LineAction::HardRestart, address};
    case vp::toByte(Command::ExamineValue): examine(*unit, command.arguments[0], out); return effect;
    default: break;
    }
    if (unit->rawSampleMode().execute(command, out.bytes, log_)) {
        return effect;
    }
    if (!unit->applySetting(command, log_)) {
        log_("ignored command " + std::to_string(command.command) + " (not supported outside test mode)");
    }
    return effect;
}

void Vornset::examine(Unit& unit, uint8_t parameter, LineOutput& out)
{
    if (parameter == vp::toByte(vp::Parameter::SystemStatus)) {
        appendSystemStatus(out);
        return;
    }
    if (parameter == vp::toByte(vp::Parameter::FvbAutoConfiguration)) {
        appendAutoConfiguration(out);
        return;
    }
    if (!unit.examine(parameter, out.bytes)) {
        // An unknown parameter still answers a word, so a reader waiting for one is not stuck.
        log_("examine of unknown parameter " + std::to_string(parameter));
        out.bytes.insert(out.bytes.end(), {0, 0});
    }
}

void Vornset::appendSystemStatus(LineOutput& out) const
{
    const std::size_t count = vp::systemStatusBytes(master().config().addressingMode);
    for (std::size_t address = 1; address <= count; ++address) {
        const Unit* unit = find(static_cast<uint8_t>(address));
        out.bytes.push_back(unit ? unit->unitStatusByte() : 0);
    }
}

void Vornset::appendAutoConfiguration(LineOutput& out) const
{
    // Configuration bytes: the unit count, then a bit per FVB address present.
    const std::size_t length = master().config().addressingMode == 0 ? 5 : 7;
    std::vector<uint8_t> bytes(length, 0);
    bytes[0] = master().settings().fvbUnits;
    for (const auto& unit : units_) {
        const std::size_t bit = unit->address() == 0 ? 0 : unit->address() - 1u;
        if (1 + bit / 8 < length) {
            bytes[1 + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
        }
    }
    out.bytes.insert(out.bytes.end(), bytes.begin(), bytes.end());
}

void Vornset::appendReport(uint8_t address, LineOutput& out, std::optional<std::chrono::steady_clock::time_point> cycle)
{
    std::lock_guard lock(mutex_);
    Unit* unit = find(address);
    if (unit == nullptr) {
        return;
    }
    const double seconds = cycle ? std::chrono::duration<double>(*cycle - start_).count() : now();
    const bool extended = extendedRangeSystem();
    auto append = [&](Unit& u, bool tag) {
        const std::size_t start = out.bytes.size();
        u.appendRecord(seconds, metal_, extended, tag, out.bytes);
        if (out.bytes.size() > start) {
            out.recordStarts.push_back(start);
        }
    };
    if (unit == &master() && master().settings().groupMode) {
        for (Unit* member : groupMembers()) {
            append(*member, member != &master() || masterTags());
        }
        return;
    }
    append(*unit, false);
}

void Vornset::resetLine(uint8_t lineOwner)
{
    std::lock_guard lock(mutex_);
    Unit* owner = find(lineOwner);
    if (owner == nullptr) {
        return;
    }
    owner->reset();
    if (owner == &master()) {
        for (auto& unit : units_) {
            if (!unit->config().ownLine) {
                unit->reset();
            }
        }
    }
}

void Vornset::setStreaming(uint8_t address, bool streaming)
{
    std::lock_guard lock(mutex_);
    if (Unit* unit = find(address)) {
        unit->settings().streaming = streaming;
    }
}

CyclePace Vornset::pace(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    const Unit* unit = find(address);
    if (unit == nullptr) {
        return {};
    }
    return {unit->settings().measurementRate, std::max<uint8_t>(unit->settings().reportRate, 1),
            unit->settings().dataReady};
}

double Vornset::rawSampleRate(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    const Unit* unit = find(address);
    return unit ? unit->rawSampleMode().sampleRate() : 1.0;
}

void Vornset::startRecording(uint8_t address)
{
    std::lock_guard lock(mutex_);
    if (Unit* unit = find(address)) {
        unit->rawSampleMode().startRecording(now());
    }
}

void Vornset::appendRawSamples(uint8_t address, uint64_t first, std::size_t count, LineOutput& out)
{
    std::lock_guard lock(mutex_);
    if (Unit* unit = find(address)) {
        unit->rawSampleMode().appendSamples(first, count, out.bytes);
    }
}

LineCheckMode Vornset::lineCheck(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    const Unit* unit = find(address);
    return unit ? unit->config().lineCheck : LineCheckMode::Off;
}

std::optional<UnitSettings> Vornset::settingsOf(uint8_t address) const
{
    std::lock_guard lock(mutex_);
    const Unit* unit = find(address);
    if (unit == nullptr) {
        return std::nullopt;
    }
    return unit->settings();
}

} // namespace vorn::sim

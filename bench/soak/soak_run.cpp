#include "soak_run.h"

#include "inspect/sent_readings.h"
#include "resident_memory.h"

#include <vorn/vorn.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <thread>
#include <type_traits>

namespace vorn::soak {

namespace {

constexpr int kGroup = 1;
// A unit that does not wake within this after its line came back counts as lost.
constexpr std::chrono::seconds kWakeUpPatience {30};

class Run {
public:
    Run(SoakLink& link, const SoakSettings& settings)
        : link_(link), settings_(settings), random_(settings.seed), end_(Clock::now() + settings.duration)
    {
        tally_.link = link.name();
    }

    SoakTally go()
    {
        if (!wakeUp())
            return tally_;
        const auto baselineAt =
            Clock::now() + std::min<Clock::duration>(settings_.memoryBaseline, settings_.duration / 3);
        std::optional<std::size_t> baseline;
        scheduleNextFault();
        while (Clock::now() < end_) {
            if (!baseline && Clock::now() >= baselineAt)
                baseline = residentBytes();
            if (Clock::now() >= nextFault_)
                inject();
            if (pending_ && Clock::now() >= pending_->over)
                endFault();
            if (!woken_ && !wakeUp())
                break;
            takeFrame();
        }
        vornShutDown(kGroup);
        link_.clearFaults();
        if (baseline)
            tally_.memoryGrowth = static_cast<long>(residentBytes()) - static_cast<long>(*baseline);
        return tally_;
    }

private:
    void scheduleNextFault()
    {
        const auto gap = std::uniform_int_distribution<long>(settings_.meanFaultGap.count() / 2,
                                                             settings_.meanFaultGap.count() * 3 / 2)(random_);
        nextFault_ = Clock::now() + Milliseconds(gap);
    }

    void inject()
    {
        if (pending_)
            return; // one fault at a time, so each failure belongs to one
        const Fault fault = link_.injectFault(random_);
        ++tally_.faults;
        ++tally_.faultsByKind[fault.kind];
        pending_ = fault;
        lastFault_ = fault;
    }

    void endFault()
    {
        link_.clearFaults();
        if (pending_->needsWakeUp) {
            vornShutDown(kGroup);
            woken_ = false;
            ++tally_.wakeUps;
        }
        pending_.reset();
        scheduleNextFault();
    }

    // Wakes the group, trying again until the unit answers or patience runs out.
    bool wakeUp()
    {
        const auto giveUp = Clock::now() + kWakeUpPatience;
        while (Clock::now() < giveUp) {
            if (link_.wakeAndStream(kGroup)) {
                woken_ = true;
                return true;
            }
            ++tally_.failedWakeUps;
            vornShutDown(kGroup);
            std::this_thread::sleep_for(Milliseconds(500));
        }
        std::fprintf(stderr, "%s: the unit did not wake again within %lld s\n", link_.name().c_str(),
                     static_cast<long long>(kWakeUpPatience.count()));
        return false;
    }

    void takeFrame()
    {
        VornFrame frame {};
        const auto start = Clock::now();
        const int ok = vornGetFrame(kGroup, &frame);
        const auto took = std::chrono::duration_cast<Milliseconds>(Clock::now() - start);
        tally_.longestCall = std::max(tally_.longestCall, took);
        if (took > link_.frameCallLimit() + settings_.margin)
            ++tally_.hangs;
        if (ok == 1) {
            ++tally_.delivered;
            checkReadings(frame);
            return;
        }
        ++tally_.refused;
        const int code = vornGetErrorCode();
        ++tally_.codes[code];
        if (link_.frameErrorCodes().count(code) == 0)
            ++tally_.wrongCodes;
        // While the line is away every call fails at once: ask again at a caller's pace.
        if (pending_ && pending_->needsWakeUp)
            std::this_thread::sleep_for(Milliseconds(20));
    }

    void checkReadings(const VornFrame& frame)
    {
        for (const uint8_t address : link_.addresses()) {
            if (!sim::sentReadings().contains(address, frame.reading[address])) {
                ++tally_.corrupted;
                reportCorrupted(address, frame.reading[address]);
                return;
            }
        }
    }

    // Says which fault came last, to tell where a corrupted reading came from.
    void reportCorrupted(uint8_t address, const VornReading& reading)
    {
        const auto since = std::chrono::duration_cast<Milliseconds>(Clock::now() - lastFault_.over).count();
        std::fprintf(stderr,
                     "%s: frame delivered as good with a reading unit %u never sent (position %d %d %d), "
                     "%lld ms after the end of the last fault (%s)\n",
                     link_.name().c_str(), address, reading.position[0], reading.position[1], reading.position[2],
                     static_cast<long long>(since), lastFault_.kind.c_str());
    }

    SoakLink& link_;
    const SoakSettings& settings_;
    std::mt19937 random_;
    Clock::time_point end_;
    Clock::time_point nextFault_ {};
    std::optional<Fault> pending_;
    Fault lastFault_ {"none", false, {}};
    bool woken_ = false;
    SoakTally tally_;
};

std::string joined(const auto& counts)
{
    std::string text;
    for (const auto& [key, count] : counts) {
        std::string name;
        if constexpr (std::is_same_v<std::decay_t<decltype(key)>, int>)
            name = std::to_string(key);
        else
            name = key;
        text += (text.empty() ? "" : ", ") + name + " " + std::to_string(count);
    }
    return text.empty() ? "none" : text;
}

} // namespace

bool SoakTally::clean() const
{
    return corrupted == 0 && wrongCodes == 0 && hangs == 0 && delivered > 0 &&
           (!kResidentMemoryMeaningful || memoryGrowth < 1024 * 1024);
}

SoakTally runSoak(SoakLink& link, const SoakSettings& settings)
{
    return Run(link, settings).go();
}

std::string tableHead()
{
    return "| Link | Minutes | Faults injected | Frames delivered | Frames refused | Corrupted | Wrong codes | "
           "Hangs | Longest call | Memory growth |\n"
           "|---|---|---|---|---|---|---|---|---|---|\n";
}

std::string tableRow(const SoakTally& tally, std::chrono::seconds duration)
{
    char row[256];
    std::snprintf(row, sizeof row, "| %s | %.1f | %llu | %llu | %llu | %llu | %llu | %llu | %lld ms | %+ld kB |\n",
                  tally.link.c_str(), static_cast<double>(duration.count()) / 60.0,
                  static_cast<unsigned long long>(tally.faults), static_cast<unsigned long long>(tally.delivered),
                  static_cast<unsigned long long>(tally.refused), static_cast<unsigned long long>(tally.corrupted),
                  static_cast<unsigned long long>(tally.wrongCodes), static_cast<unsigned long long>(tally.hangs),
                  static_cast<long long>(tally.longestCall.count()), tally.memoryGrowth / 1024);
    return row;
}

std::string details(const SoakTally& tally)
{
    return tally.link + ": faults " + joined(tally.faultsByKind) + "; failures by code " + joined(tally.codes) +
           "; wake-ups again " + std::to_string(tally.wakeUps) + " (" + std::to_string(tally.failedWakeUps) +
           " tries failed)\n";
}

} // namespace vorn::soak

// The path every export takes: the checks of its rule, then its worker.
#pragma once

#include "exports/export_rules.h"
#include "group/group.h"
#include "group/units.h"

#include <cstdint>
#include <memory>

namespace vorn {

// The arguments the checks look at; each export fills what it has.
struct CallArguments {
    int unit = 0;
    const void* pointer = nullptr;
    uint32_t count = 1; // bytes behind pointer, for buffers
    int numberOfUnits = 0;
    bool standAlone = false;
};

// Runs the checks of rule(id) for group identifier `group`. On success
// `record` holds the group (for a wake-up, the fresh record that the Timer
// check created). On refusal the message has been reported.
bool passesChecks(Export id, int group, const CallArguments& arguments, std::shared_ptr<VornGroup>& record);

// Runs only the state checks (from Woken on) of rule(id) for a group.
bool passesStateChecks(Export id, VornGroup& group);

// Marks a group busy for the frame-ready timer while a call runs on it.
class CallInProgress {
public:
    explicit CallInProgress(std::shared_ptr<VornGroup> group) : group_(std::move(group)) { ++group_->callsInProgress; }
    ~CallInProgress() { --group_->callsInProgress; }
    CallInProgress(const CallInProgress&) = delete;
    CallInProgress& operator=(const CallInProgress&) = delete;

private:
    std::shared_ptr<VornGroup> group_; // keeps the record alive through the call
};

// A group export: checks, then worker(group) with the group marked busy.
template <typename Worker> int callGroup(Export id, int group, const CallArguments& arguments, Worker&& worker)
{
    std::shared_ptr<VornGroup> record;
    if (!passesChecks(id, group, arguments, record))
        return 0;
    CallInProgress busy(record);
    return worker(*record);
}

// A per-unit export: as callGroup, with worker(group, unit) receiving the
// unit the caller's address reaches (unit 0 of a stand-alone group). This is
// the one place where the caller's address is replaced.
template <typename Worker> int callUnit(Export id, int group, const CallArguments& arguments, Worker&& worker)
{
    return callGroup(id, group, arguments,
                     [&](VornGroup& record) { return worker(record, effectiveUnit(record, arguments.unit)); });
}

// Shuts down the group in slot id if that slot still holds `record`: a pump
// hook may have shut it down and woken a new group there meanwhile.
void shutDownIfStill(int id, const std::shared_ptr<VornGroup>& record);

// A wake-up: admission checks, worker on the fresh record, and a shut-down
// that frees the slot again if the worker fails.
template <typename Worker> int wakeUp(Export id, int group, const CallArguments& arguments, Worker&& worker)
{
    std::shared_ptr<VornGroup> record;
    if (!passesChecks(id, group, arguments, record)) {
        if (record) // refused after the record was created
            shutDownIfStill(group, record);
        return 0;
    }
    bool woken = false;
    {
        CallInProgress busy(record);
        woken = worker(*record) != 0;
    }
    if (!woken) {
        shutDownIfStill(group, record);
        return 0;
    }
    return 1;
}

// vornShutDown: silent on an out-of-range identifier or an empty slot.
void shutDown(int id);

} // namespace vorn

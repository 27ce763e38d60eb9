#include "exports/frame_ready_timer.h"

#include "exports/group_table.h"
#include "group/error_reporter.h"
#include "group/workers.h"
#include "platform/thread_context.h"

#include <memory>

namespace vorn::frameReadyTimer {
namespace {

struct Running {
    std::shared_ptr<platform::ThreadContext> owner;
    uint64_t timerId = 0;
};
Running timer;
ReadyQuery query = &frameReady;

void procedure()
{
    deliverCallbacks(query);
}

} // namespace

bool ensureRunning()
{
    // A timer whose thread has ended would never deliver again: move it to
    // the thread that wakes a group now.
    if (timer.timerId != 0 && !timer.owner->threadAlive()) {
        timer.owner->killTimer(timer.timerId);
        timer = {};
    }
    if (timer.timerId != 0)
        return true;
    const auto& thread = platform::ThreadContext::current();
    const uint64_t id = thread->startTimer(kPeriodMs, &procedure);
    if (id == 0) {
        reportError("No timer resource is available.");
        return false;
    }
    timer = {thread, id};
    return true;
}

void stopIfIdle()
{
    if (timer.timerId == 0 || !groups::empty())
        return;
    timer.owner->killTimer(timer.timerId);
    timer = {};
}

void setReadyQueryForTesting(ReadyQuery isReady)
{
    query = isReady != nullptr ? isReady : &frameReady;
}

bool running()
{
    return timer.timerId != 0;
}

void deliverCallbacks(ReadyQuery isReady)
{
    for (int id = groups::kFirstId; id <= groups::kLastId; ++id) {
        std::shared_ptr<VornGroup> group = groups::find(id);
        if (!group || group->callback == nullptr || group->callbackFired || group->callsInProgress > 0)
            continue;
        if (isReady(*group) == 0)
            continue;
        // The query may have waited and pumped: look again before calling.
        if (group->callback == nullptr || group->callbackFired)
            continue;
        group->callbackFired = true;
        group->callback(id, group->userValue);
    }
}

} // namespace vorn::frameReadyTimer

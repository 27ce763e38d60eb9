#include "platform/thread_context.h"

#include "platform/clock.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>

namespace vorn::platform {
namespace {

std::atomic<ThreadToken> nextToken {1};
std::atomic<uint64_t> nextTimerId {1};
std::atomic<bool> refuseTimers {false};

// Token -> context of every live thread, so that another thread can post a
// quit without keeping a dead thread's context alive.
struct Registry {
    std::mutex mutex;
    std::map<ThreadToken, std::weak_ptr<ThreadContext>> threads;
};

Registry& registry()
{
    static Registry* instance = new Registry; // outlives every thread_local
    return *instance;
}

} // namespace

ThreadContext::ThreadContext() : token_(nextToken.fetch_add(1)) {}

ThreadContext::~ThreadContext()
{
    if (timerFd_ >= 0)
        ::close(timerFd_);
}

namespace {

// The calling thread's context; when the thread ends, the context is marked
// ended even if a timer handle keeps it alive.
struct ThreadHolder {
    ThreadHolder() : context(std::make_shared<ThreadContext>())
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        r.threads[context->token()] = context;
    }
    ~ThreadHolder()
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        r.threads.erase(context->token());
    }
    std::shared_ptr<ThreadContext> context;
};

} // namespace

const std::shared_ptr<ThreadContext>& ThreadContext::current()
{
    thread_local const ThreadHolder holder;
    return holder.context;
}

bool ThreadContext::threadAlive() const
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.threads.contains(token_);
}

bool ThreadContext::postQuit(ThreadToken token)
{
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto found = r.threads.find(token);
    if (found == r.threads.end())
        return false;
    auto context = found->second.lock();
    if (!context)
        return false;
    context->postQuit();
    return true;
}

void ThreadContext::setPumpHook(PumpHook hook, void* context)
{
    hook_ = hook;
    hookContext_ = hook != nullptr ? context : nullptr;
}

void ThreadContext::pumpStep()
{
    runDueTimers();
    if (hook_ != nullptr)
        hook_(hookContext_);
}

void ThreadContext::refuseTimersForTesting(bool refuse)
{
    refuseTimers.store(refuse);
}

uint64_t ThreadContext::startTimer(uint32_t periodMs, TimerProc proc)
{
    if (refuseTimers.load())
        return 0;
    const uint64_t id = nextTimerId.fetch_add(1);
    {
        std::lock_guard lock(timersMutex_);
        timers_.push_back({id, std::max<uint32_t>(periodMs, 1), nowMs() + periodMs, proc, false});
    }
    rearmTimerFd();
    return id;
}

void ThreadContext::killTimer(uint64_t id)
{
    {
        std::lock_guard lock(timersMutex_);
        std::erase_if(timers_, [id](const Timer& t) { return t.id == id; });
    }
    rearmTimerFd();
}

std::size_t ThreadContext::timerCount() const
{
    std::lock_guard lock(timersMutex_);
    return timers_.size();
}

void ThreadContext::runDueTimers()
{
    drainTimerFd();
    // Walk by id, not by position: a procedure may start or kill timers.
    uint64_t lastId = 0;
    for (;;) {
        TimerProc proc = nullptr;
        uint64_t id = 0;
        {
            std::lock_guard lock(timersMutex_);
            const uint64_t now = nowMs();
            for (Timer& t : timers_) {
                // A procedure that waits inside the library pumps again; it
                // is not re-entered from its own wait.
                if (t.id > lastId && !t.running && t.dueMs <= now) {
                    t.running = true;
                    t.dueMs = now + t.periodMs; // missed periods are skipped, not queued
                    proc = t.proc;
                    id = t.id;
                    break;
                }
            }
        }
        if (proc == nullptr)
            break;
        proc();
        lastId = id;
        std::lock_guard lock(timersMutex_);
        for (Timer& t : timers_)
            if (t.id == id)
                t.running = false;
    }
    rearmTimerFd();
}

int64_t ThreadContext::msUntilNextTimer() const
{
    std::lock_guard lock(timersMutex_);
    if (timers_.empty())
        return -1;
    const uint64_t now = nowMs();
    uint64_t next = UINT64_MAX;
    for (const Timer& t : timers_)
        next = std::min(next, t.dueMs);
    return next <= now ? 0 : static_cast<int64_t>(next - now);
}

int ThreadContext::timerFd()
{
    if (timerFd_ < 0) {
        timerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        rearmTimerFd();
    }
    return timerFd_;
}

void ThreadContext::rearmTimerFd()
{
    if (timerFd_ < 0)
        return;
    const int64_t wait = msUntilNextTimer();
    itimerspec timerValue {};
    if (wait >= 0) {
        // A zero value would disarm the timer: a due timer fires in 1 ns.
        const int64_t ns = wait == 0 ? 1 : wait * 1000000;
        timerValue.it_value.tv_sec = ns / 1000000000;
        timerValue.it_value.tv_nsec = ns % 1000000000;
    }
    ::timerfd_settime(timerFd_, 0, &timerValue, nullptr);
}

void ThreadContext::drainTimerFd()
{
    if (timerFd_ < 0)
        return;
    uint64_t expirations = 0;
    while (::read(timerFd_, &expirations, sizeof expirations) < 0 && errno == EINTR) {
    }
}

} // namespace vorn::platform

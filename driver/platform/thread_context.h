// What the library keeps per thread: the pending quit request, the host's
// pump hook, and the thread's library timers (the stand-in for a thread
// timer without a window). Timers fire only inside pump steps of their own
// thread, or when that thread calls the host dispatch.
//
// A thread's context lives as long as the thread or as long as someone holds
// a reference to it (a running timer, for instance), whichever is longer.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vorn::platform {

using TimerProc = void (*)();
using PumpHook = void (*)(void* context);
using ThreadToken = uint64_t;

class ThreadContext {
public:
    ThreadContext();
    ~ThreadContext();
    ThreadContext(const ThreadContext&) = delete;
    ThreadContext& operator=(const ThreadContext&) = delete;

    // The calling thread's context, created on first use.
    static const std::shared_ptr<ThreadContext>& current();
    // Posts a quit request to the thread with this token, from any thread.
    // False when no such thread is alive.
    static bool postQuit(ThreadToken token);
    // Makes every startTimer() fail, to test how callers cope.
    static void refuseTimersForTesting(bool refuse);

    ThreadToken token() const { return token_; }
    // False once the thread has ended: its timers will never fire again.
    bool threadAlive() const;

    bool quitPending() const { return quit_.load(std::memory_order_acquire); }
    void postQuit() { quit_.store(true, std::memory_order_release); }
    // Takes the pending quit back; true if there was one.
    bool takeQuit() { return quit_.exchange(false, std::memory_order_acq_rel); }

    void setPumpHook(PumpHook hook, void* context);
    // One pump step: due timers of this thread, then the host's pump hook.
    // Call only on the owning thread.
    void pumpStep();

    // Thread timers. startTimer() returns 0 if the timer cannot be created.
    uint64_t startTimer(uint32_t periodMs, TimerProc proc);
    void killTimer(uint64_t id);
    std::size_t timerCount() const;
    // Runs every timer that is due now (owning thread only).
    void runDueTimers();
    // Milliseconds until the next timer is due (0 if one is due), or -1.
    int64_t msUntilNextTimer() const;

    // A descriptor that becomes readable when a timer of this thread is due;
    // -1 if the system refuses one.
    int timerFd();

private:
    struct Timer {
        uint64_t id;
        uint32_t periodMs;
        uint64_t dueMs;
        TimerProc proc;
        bool running;
    };

    void rearmTimerFd();
    void drainTimerFd();

    const ThreadToken token_;
    std::atomic<bool> quit_ {false};
    PumpHook hook_ = nullptr;
    void* hookContext_ = nullptr;
    mutable std::mutex timersMutex_;
    std::vector<Timer> timers_;
    int timerFd_ = -1;
};

} // namespace vorn::platform

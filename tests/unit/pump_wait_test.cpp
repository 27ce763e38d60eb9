// The pumping wait blocks instead of spinning, gives up on a quit, wakes on
// readable descriptors, and runs this thread's timers and pump hook.
#include "platform/clock.h"
#include "platform/pump_wait.h"
#include "platform/thread_context.h"

#include <vorn/vorn_host.h>

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <thread>

using vorn::platform::nowMs;
using vorn::platform::PumpWait;
using vorn::platform::ThreadContext;
using vorn::platform::WaitResult;

namespace {

double threadCpuMs()
{
    timespec t {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(fds), 0); }
    ~Pipe()
    {
        ::close(fds[0]);
        ::close(fds[1]);
    }
    int fds[2];
};

TEST(PumpWait, BlocksWithoutSpinning)
{
    const uint64_t start = nowMs();
    const double cpuStart = threadCpuMs();
    EXPECT_TRUE(PumpWait::forMilliseconds(200));
    const double cpu = threadCpuMs() - cpuStart;
    EXPECT_GE(nowMs() - start, 200u);
    EXPECT_LT(nowMs() - start, 400u);
    EXPECT_LT(cpu, 20.0) << "a 200 ms wait used " << cpu << " ms of CPU";
}

TEST(PumpWait, QuitFromAnotherThreadEndsTheWaitAndStaysPending)
{
    const VornThreadToken self = vornHostThreadToken();
    std::thread poster([self] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(vornHostPostQuit(self), 1);
    });
    const uint64_t start = nowMs();
    EXPECT_FALSE(PumpWait::forMilliseconds(5000));
    EXPECT_LT(nowMs() - start, 1000u);
    poster.join();
    // Still pending: the next wait fails at once, until the quit is taken back.
    EXPECT_EQ(vornHostPump(1000), 0);
    EXPECT_EQ(vornHostTakeQuit(), 1);
    EXPECT_EQ(vornHostTakeQuit(), 0);
    EXPECT_EQ(vornHostPump(1), 1);
}

TEST(PumpWait, QuitToAThreadThatEndedIsRefused)
{
    VornThreadToken gone = 0;
    std::thread([&gone] { gone = vornHostThreadToken(); }).join();
    EXPECT_NE(gone, vornHostThreadToken());
    EXPECT_EQ(vornHostPostQuit(gone), 0);
}

TEST(PumpWait, ReadableDescriptorEndsTheWait)
{
    Pipe pipe;
    std::thread writer([&pipe] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(::write(pipe.fds[1], "x", 1), 1);
    });
    const uint64_t start = nowMs();
    EXPECT_EQ(PumpWait::untilReadable(pipe.fds[0], start + 2000), WaitResult::Ready);
    EXPECT_LT(nowMs() - start, 1000u);
    writer.join();
}

TEST(PumpWait, SilentDescriptorTimesOutAtTheDeadline)
{
    Pipe pipe;
    const uint64_t start = nowMs();
    EXPECT_EQ(PumpWait::untilReadable(pipe.fds[0], start + 60), WaitResult::TimedOut);
    EXPECT_GE(nowMs() - start, 60u);
}

TEST(PumpWait, PumpHookRunsDuringWaitsOnItsThreadOnly)
{
    std::atomic<int> calls {0};
    auto hook = [](void* context) { ++*static_cast<std::atomic<int>*>(context); };
    vornHostSetPumpHook(hook, &calls);
    std::thread([] { vornHostPump(50); }).join(); // another thread: not our hook
    EXPECT_EQ(calls.load(), 0);
    vornHostPump(50);
    vornHostSetPumpHook(nullptr, nullptr);
    EXPECT_GE(calls.load(), 3);
    const int after = calls.load();
    vornHostPump(20);
    EXPECT_EQ(calls.load(), after);
}

std::atomic<int> firings {0};
void countFiring()
{
    ++firings;
}

TEST(ThreadTimers, FireOnlyInsidePumpStepsOfTheirOwnThread)
{
    firings = 0;
    const auto& self = ThreadContext::current();
    const uint64_t id = self->startTimer(5, &countFiring);
    ASSERT_NE(id, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(firings.load(), 0); // due, but nobody pumped
    std::thread([] { vornHostPump(30); }).join();
    EXPECT_EQ(firings.load(), 0); // another thread's pump does not run it
    vornHostPump(50);
    EXPECT_GE(firings.load(), 3);
    self->killTimer(id);
    const int after = firings.load();
    vornHostPump(20);
    EXPECT_EQ(firings.load(), after);
}

TEST(ThreadTimers, HostDescriptorBecomesReadableWhenATimerIsDue)
{
    firings = 0;
    const int fd = vornHostTimerFd();
    ASSERT_GE(fd, 0);
    pollfd idle {fd, POLLIN, 0};
    EXPECT_EQ(::poll(&idle, 1, 30), 0); // no timer: never readable
    const auto& self = ThreadContext::current();
    const uint64_t id = self->startTimer(20, &countFiring);
    pollfd watched {fd, POLLIN, 0};
    const uint64_t start = nowMs();
    ASSERT_EQ(::poll(&watched, 1, 1000), 1);
    EXPECT_GE(nowMs() - start, 15u);
    vornHostDispatch();
    EXPECT_EQ(firings.load(), 1);
    // Dispatched: quiet again until the next period.
    pollfd again {fd, POLLIN, 0};
    EXPECT_EQ(::poll(&again, 1, 0), 0);
    self->killTimer(id);
}

} // namespace

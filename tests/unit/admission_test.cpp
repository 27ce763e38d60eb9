// Wake-up admission and shut-down: slots, resolution requests and the
// frame-ready timer stay paired whatever happens.
#include "frame_fixture.h"

#include "exports/frame_ready_timer.h"
#include "exports/group_table.h"
#include "platform/thread_context.h"
#include "platform/timer_resolution.h"

using vorn::ConnectionMode;
using vorn::platform::heldResolutionRequests;
using vorn::testing::installGroup;

namespace {

class Admission : public FrameTest {};

const uint16_t kPorts[] = {1, 1, 2};

// COM1 names a path that cannot exist, so no test touches a real line.
class NoSuchLine {
public:
    NoSuchLine() { setenv("VORN_COM1", "/nonexistent/vorn-test-line", 1); }
    ~NoSuchLine() { unsetenv("VORN_COM1"); }
};

TEST_F(Admission, FailedWakeUpLeavesTheSlotEmptyAndReleasesEverything)
{
    const NoSuchLine noLine;
    const int heldBefore = heldResolutionRequests();
    for (int attempt = 0; attempt < 2; ++attempt) { // the same identifier can be tried again at once
        EXPECT_EQ(vornRS232WakeUp(256, 1, 1, kPorts, 9600, 100, 100), 0);
        EXPECT_EQ(lastMessage(), "Unable to open comport 1.");
        EXPECT_EQ(vornGetErrorCode(), VORN_ERR_FAILED);
        EXPECT_EQ(vorn::groups::find(256), nullptr);
        EXPECT_EQ(heldResolutionRequests(), heldBefore);
        EXPECT_FALSE(vorn::frameReadyTimer::running());
    }
}

TEST_F(Admission, OccupiedSlotIsRefusedAndTheFirstGroupKeepsWorking)
{
    vorn::VornGroup& first = installGroup(7, ConnectionMode::Rs232);
    const int held = heldResolutionRequests();
    EXPECT_EQ(vornRS232WakeUp(7, 1, 1, kPorts, 9600, 100, 100), 0);
    EXPECT_EQ(lastMessage(), "Group ID passed to vornRS232WakeUp() is already in use.");
    EXPECT_EQ(vornTCPIPWakeUp(7, "localhost", 1, 1), 0);
    EXPECT_EQ(lastMessage(), "Group ID passed to vornTCPIPWakeUp() is already in use.");
    EXPECT_EQ(vorn::groups::find(7).get(), &first);
    EXPECT_EQ(first.mode, ConnectionMode::Rs232);
    EXPECT_EQ(heldResolutionRequests(), held);
}

TEST_F(Admission, TimerRefusalFailsTheWakeUpWithoutTakingTheSlot)
{
    const int heldBefore = heldResolutionRequests();
    vorn::platform::ThreadContext::refuseTimersForTesting(true);
    EXPECT_EQ(vornPV2WakeUp(4, 0x300, 100, 100), 0);
    vorn::platform::ThreadContext::refuseTimersForTesting(false);
    EXPECT_EQ(lastMessage(), "No timer resource is available.");
    EXPECT_EQ(vorn::groups::find(4), nullptr);
    EXPECT_EQ(heldResolutionRequests(), heldBefore);
}

TEST_F(Admission, TimerRunsFromFirstGroupToLastShutDown)
{
    EXPECT_FALSE(vorn::frameReadyTimer::running());
    const int heldBefore = heldResolutionRequests();
    installGroup(0, ConnectionMode::Rs232);
    installGroup(256, ConnectionMode::Isa);
    EXPECT_TRUE(vorn::frameReadyTimer::running());
    EXPECT_EQ(heldResolutionRequests(), heldBefore + 2);
    vornShutDown(0);
    EXPECT_TRUE(vorn::frameReadyTimer::running());
    vornShutDown(256);
    EXPECT_FALSE(vorn::frameReadyTimer::running());
    EXPECT_EQ(heldResolutionRequests(), heldBefore);
    EXPECT_EQ(vorn::platform::ThreadContext::current()->timerCount(), 0u);
}

TEST_F(Admission, ShutDownOfEmptyOrOutOfRangeIdentifierIsSilent)
{
    const int heldBefore = heldResolutionRequests();
    for (int id : {-1, 0, 100, 256, 257, INT32_MAX})
        vornShutDown(id);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(vornGetErrorCode(), VORN_ERR_NONE);
    EXPECT_EQ(heldResolutionRequests(), heldBefore);
}

TEST_F(Admission, ShutDownClosesTheTransportOnce)
{
    struct CountingTransport : vorn::Transport {
        explicit CountingTransport(int& closes) : closes_(closes) {}
        void close(vorn::VornGroup&) override { ++closes_; }
        int& closes_;
    };
    int closes = 0;
    installGroup(12, ConnectionMode::TcpIp).transport = std::make_unique<CountingTransport>(closes);
    vornShutDown(12);
    vornShutDown(12);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(vorn::groups::find(12), nullptr);
}

TEST_F(Admission, ShutDownDuringACallOfTheSameGroupKeepsTheRecordAlive)
{
    // A pump hook or callback may shut a group down while one of its calls
    // waits; the waiting call must not touch freed memory.
    vorn::VornGroup& group = installGroup(20, ConnectionMode::Rs232);
    std::shared_ptr<vorn::VornGroup> held = vorn::groups::find(20);
    vornShutDown(20);
    EXPECT_EQ(vorn::groups::find(20), nullptr);
    EXPECT_EQ(held.get(), &group);
    EXPECT_EQ(group.mode, ConnectionMode::None); // closed: the call will fail, not crash
}

} // namespace

// Delivery of frame-ready callbacks by the timer's procedure.
#include "frame_fixture.h"

#include "exports/dispatch.h"
#include "exports/frame_ready_timer.h"
#include "exports/group_table.h"

#include <poll.h>

#include <thread>

using vorn::ConnectionMode;
using vorn::VornGroup;
using vorn::frameReadyTimer::deliverCallbacks;
using vorn::testing::installGroup;

namespace {

std::vector<std::pair<int, uintptr_t>> calls;
void record(int group, uintptr_t user)
{
    calls.emplace_back(group, user);
}
int alwaysReady(VornGroup&)
{
    return 1;
}
int neverReady(VornGroup&)
{
    return 0;
}

class FrameReadyDelivery : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        calls.clear();
        vorn::frameReadyTimer::setReadyQueryForTesting(&alwaysReady);
    }

    void TearDown() override
    {
        vorn::frameReadyTimer::setReadyQueryForTesting(nullptr);
        FrameTest::TearDown();
    }
};

TEST_F(FrameReadyDelivery, CallsEachReadyGroupOnceInIdentifierOrder)
{
    installGroup(200, ConnectionMode::Rs232);
    installGroup(3, ConnectionMode::TcpIp);
    installGroup(50, ConnectionMode::Isa); // no callback: never called
    ASSERT_EQ(vornStartFrameReadyCallback(200, &record, 22), 1);
    ASSERT_EQ(vornStartFrameReadyCallback(3, &record, 11), 1);
    deliverCallbacks(&alwaysReady);
    deliverCallbacks(&alwaysReady); // not again until the frame is taken
    const std::vector<std::pair<int, uintptr_t>> expected = {{3, 11}, {200, 22}};
    EXPECT_EQ(calls, expected);
}

TEST_F(FrameReadyDelivery, NotReadyMeansNoCall)
{
    installGroup(1, ConnectionMode::Rs232);
    vornStartFrameReadyCallback(1, &record, 0);
    deliverCallbacks(&neverReady);
    EXPECT_TRUE(calls.empty());
}

TEST_F(FrameReadyDelivery, RestartingTheCallbackRearmsIt)
{
    installGroup(1, ConnectionMode::Rs232);
    vornStartFrameReadyCallback(1, &record, 5);
    deliverCallbacks(&alwaysReady);
    vornStartFrameReadyCallback(1, &record, 6);
    deliverCallbacks(&alwaysReady);
    vornStopFrameReadyCallback(1);
    deliverCallbacks(&alwaysReady);
    const std::vector<std::pair<int, uintptr_t>> expected = {{1, 5}, {1, 6}};
    EXPECT_EQ(calls, expected);
}

TEST_F(FrameReadyDelivery, GroupWithACallInProgressIsSkipped)
{
    installGroup(1, ConnectionMode::Rs232);
    vornStartFrameReadyCallback(1, &record, 0);
    {
        vorn::CallInProgress busy(vorn::groups::find(1));
        deliverCallbacks(&alwaysReady);
        EXPECT_TRUE(calls.empty());
    }
    deliverCallbacks(&alwaysReady);
    EXPECT_EQ(calls.size(), 1u);
}

TEST_F(FrameReadyDelivery, CallbackMayShutItsGroupDown)
{
    installGroup(1, ConnectionMode::Rs232);
    installGroup(2, ConnectionMode::Rs232);
    auto shutDownFirst = [](int group, uintptr_t) {
        vornShutDown(group);
        calls.emplace_back(group, 0);
    };
    vornStartFrameReadyCallback(1, shutDownFirst, 0);
    vornStartFrameReadyCallback(2, &record, 9);
    deliverCallbacks(&alwaysReady);
    EXPECT_EQ(vorn::groups::find(1), nullptr);
    EXPECT_EQ(calls.size(), 2u);
}

TEST_F(FrameReadyDelivery, TimerCallsBackInsidePumpStepsOfItsThread)
{
    installGroup(4, ConnectionMode::Rs232);
    vornStartFrameReadyCallback(4, &record, 44);
    std::thread([] { vornHostPump(30); }).join(); // not the timer's thread
    EXPECT_TRUE(calls.empty());
    vornHostPump(30);
    const std::vector<std::pair<int, uintptr_t>> expected = {{4, 44}};
    EXPECT_EQ(calls, expected);
}

TEST_F(FrameReadyDelivery, TimerMovesOnWhenItsThreadHasEnded)
{
    std::thread([] { installGroup(4, ConnectionMode::Rs232); }).join();
    vornStartFrameReadyCallback(4, &record, 4);
    installGroup(5, ConnectionMode::Rs232); // this thread now owns the timer
    vornStartFrameReadyCallback(5, &record, 5);
    vornHostPump(30);
    const std::vector<std::pair<int, uintptr_t>> expected = {{4, 4}, {5, 5}};
    EXPECT_EQ(calls, expected);
}

TEST_F(FrameReadyDelivery, HostLoopGetsCallbacksThroughTheTimerDescriptor)
{
    installGroup(4, ConnectionMode::Isa);
    vornStartFrameReadyCallback(4, &record, 1);
    pollfd timer {vornHostTimerFd(), POLLIN, 0};
    ASSERT_GE(timer.fd, 0);
    ASSERT_EQ(::poll(&timer, 1, 1000), 1);
    vornHostDispatch();
    EXPECT_EQ(calls.size(), 1u);
}

} // namespace

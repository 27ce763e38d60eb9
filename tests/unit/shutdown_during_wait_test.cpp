// A host's pump hook may shut down the very group whose call is waiting:
// the waiting call must fail cleanly, not touch the freed line.
#include "frame_fixture.h"

#include "transports/serial_transport.h"

#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace vorn {
namespace {

using vorn::testing::installGroup;

constexpr int kGroup = 40;

void shutDownOnce(void* done)
{
    auto* flag = static_cast<bool*>(done);
    if (!*flag) {
        *flag = true;
        vornShutDown(kGroup);
    }
}

class ShutDownDuringWait : public FrameTest {};

TEST_F(ShutDownDuringWait, WaitingReadFailsCleanly)
{
    int unit = -1, slave = -1;
    char name[128] = {};
    termios raw {};
    cfmakeraw(&raw);
    ASSERT_EQ(openpty(&unit, &slave, name, &raw, nullptr), 0);
    setenv("VORN_COM904", name, 1);

    VornGroup& group = installGroup(kGroup, ConnectionMode::Rs232, {.standAlone = true});
    group.readTimeoutMs = 5000;
    group.systemConfig.numberOfUnits = 1;
    group.deviceConfig[0].status = 0x04;
    group.deviceConfig[0].dataFormat = 4;
    auto serial = std::make_unique<SerialTransport>();
    ASSERT_TRUE(serial->openLine(0, 904, 9600));
    group.transport = std::move(serial);

    bool done = false;
    vornHostSetPumpHook(&shutDownOnce, &done);
    VornReading reading {};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(vornGetReading(kGroup, 0, &reading), 0);
    vornHostSetPumpHook(nullptr, nullptr);
    EXPECT_TRUE(done);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    messages.clear();
    EXPECT_EQ(vornGetReading(kGroup, 0, &reading), 0);
    EXPECT_EQ(lastMessage(), "Group ID passed to vornGetReading() is not in use.");

    unsetenv("VORN_COM904");
    close(unit);
    close(slave);
}

} // namespace
} // namespace vorn

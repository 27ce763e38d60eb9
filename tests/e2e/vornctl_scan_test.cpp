// vornctl scan against the simulator's vornset and stand-alone unit and
// against pseudo-terminals that stay silent, answer garbage or are held open
// by another program: each port is named with what is on it, or why not.
#include "sim_fixture.h"
#include "vornctl_run.h"

#include <atomic>
#include <pty.h>
#include <thread>

namespace {

// A pseudo-terminal whose other end this test plays.
struct TestPort {
    int master = -1;
    int slave = -1;
    std::string path;

    TestPort()
    {
        char name[128] = {};
        termios raw {};
        cfmakeraw(&raw);
        EXPECT_EQ(openpty(&master, &slave, name, &raw, nullptr), 0);
        path = name;
    }
    ~TestPort()
    {
        if (slave >= 0)
            close(slave);
        close(master);
    }
    void letGo()
    {
        close(slave);
        slave = -1;
    }
};

// Answers every byte that comes with bytes no unit would send.
class GarbageAnswers {
public:
    explicit GarbageAnswers(int fd) : thread_([this, fd] { run(fd); }) {}
    ~GarbageAnswers()
    {
        stop_ = true;
        thread_.join();
    }

private:
    void run(int fd)
    {
        while (!stop_) {
            pollfd p {fd, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0 || (p.revents & POLLIN) == 0)
                continue;
            uint8_t bytes[256];
            const ssize_t n = read(fd, bytes, sizeof bytes);
            for (ssize_t i = 0; i < n; ++i)
                bytes[i] = static_cast<uint8_t>(bytes[i] * 37 + 11);
            if (n > 0 && write(fd, bytes, static_cast<std::size_t>(n)) < 0)
                return;
        }
    }
    std::atomic<bool> stop_ {false};
    std::thread thread_;
};

// The row of the report that starts with `device`, and the lines under it.
std::string rowOf(const std::string& out, const std::string& device)
{
    const auto start = out.find(device);
    if (start == std::string::npos)
        return {};
    auto end = out.find('\n', start);
    while (end != std::string::npos && end + 1 < out.size() && out[end + 1] == ' ')
        end = out.find('\n', end + 1);
    return out.substr(start, end - start);
}

class VornctlScan : public SimulatorTest {};

TEST_F(VornctlScan, NamesEachPortWithTheUnitsOnItOrWhyNot)
{
    startSimulator(vorn::sim::vornsetConfig(3));
    auto standAloneConfig = vorn::sim::standAloneConfig();
    standAloneConfig.firstPort = 2;
    vorn::sim::Simulator standAlone(standAloneConfig);
    standAlone.start();
    standAlone.exportEnvironment();

    TestPort silent, garbage, held;
    silent.letGo();
    garbage.letGo();
    GarbageAnswers answers(garbage.master);
    const ProgramRun run =
        vornctl({"scan", "-p", "1,2," + silent.path + "," + garbage.path + "," + held.path + ",/dev/vorn-no-such-port",
                 "-b", "115200,9600", "--read-timeout", "200"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string vornset = rowOf(run.out, simulator->linePath(1).string());
    EXPECT_NE(vornset.find("115200  3.67  20   normal     1,2,3 running"), std::string::npos) << run.out;
    EXPECT_NE(vornset.find("\n  vornctl info -p 1,0,0 -n 3"), std::string::npos) << vornset;
    const std::string unit = rowOf(run.out, standAlone.linePath(0).string());
    EXPECT_NE(unit.find("115200  3.67  40   normal     stand-alone unit"), std::string::npos) << run.out;
    EXPECT_NE(unit.find("vornctl info -s -p 2"), std::string::npos) << unit;
    EXPECT_NE(rowOf(run.out, silent.path + " ").find("silent at 115200..9600 baud (200 ms each)"), std::string::npos)
        << run.out;
    EXPECT_NE(rowOf(run.out, garbage.path + " ").find("answers, but not as a Vorn unit does"), std::string::npos)
        << run.out;
    EXPECT_NE(rowOf(run.out, held.path + " ").find("busy: open in "), std::string::npos) << run.out;
    EXPECT_NE(rowOf(run.out, "/dev/vorn-no-such-port").find("No such file or directory"), std::string::npos);
    // Only examine commands reached the units: nothing that changes them, no restart.
    for (uint8_t owner : {uint8_t {1}}) {
        const auto bytes = simulator->line(owner).received().bytes();
        ASSERT_FALSE(bytes.empty());
        for (std::size_t i = 0; i < bytes.size(); i += 2)
            EXPECT_EQ(bytes[i], 0x4F) << "byte " << i;
    }
    standAlone.stop();

    // Nothing found: status 1; a bad list: status 2.
    EXPECT_EQ(vornctl({"scan", "-p", silent.path, "-b", "9600", "--read-timeout", "50", "-q"}).status, 1);
    EXPECT_EQ(vornctl({"scan", "-b", "fast"}).status, 2);
    EXPECT_EQ(vornctl({"scan", "--format", "angles"}).status, 2);
}

} // namespace

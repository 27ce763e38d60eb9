// The serial link on a real pseudo-terminal, the maker's notices and the hand-over to Humsift.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "vorn/humgather/humsift_launcher.h"
#include "vorn/humgather/interrupt_stop.h"
#include "vorn/humgather/maker_notices.h"
#include "vorn/humgather/serial_link.h"

namespace vorn::humgather {
namespace {

namespace fs = std::filesystem;

fs::path freshDirectory(const std::string& what)
{
    const auto dir = fs::temp_directory_path() / ("humgather-" + what + "-" + std::to_string(std::random_device {}()));
    fs::create_directories(dir);
    return dir;
}

// The unit's side of a line: the master end of a pseudo-terminal published as COM<port>.
class UnitEnd {
public:
    explicit UnitEnd(unsigned port) : port_(port)
    {
        char name[256];
        EXPECT_EQ(openpty(&master_, &slave_, name, nullptr, nullptr), 0);
        name_ = "VORN_COM" + std::to_string(port);
        setenv(name_.c_str(), name, 1);
    }
    ~UnitEnd()
    {
        unsetenv(name_.c_str());
        if (master_ >= 0)
            ::close(master_);
        ::close(slave_);
    }
    void send(std::vector<std::uint8_t> bytes)
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    std::vector<std::uint8_t> received(std::size_t n)
    {
        std::vector<std::uint8_t> bytes(n);
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::read(master_, bytes.data() + got, n - got);
            if (r <= 0)
                break;
            got += static_cast<std::size_t>(r);
        }
        bytes.resize(got);
        return bytes;
    }
    void hangUp()
    {
        ::close(master_);
        master_ = -1;
    }
    unsigned port() const { return port_; }

private:
    unsigned port_;
    int master_ = -1;
    int slave_ = -1;
    std::string name_;
};

TEST(HumgatherSerialLink, MemoryReadsWritesAndWords)
{
    UnitEnd unit(41);
    SerialLink link;
    ASSERT_TRUE(link.open(unit.port(), 115200)) << link.errorText();
    unit.send({0x5A});
    EXPECT_EQ(link.readMemoryByte(0x1234, MemorySpace::Prom), 0x5A);
    EXPECT_EQ(unit.received(3), (std::vector<std::uint8_t> {'k', 0x34, 0x12}));
    unit.send({0x00, 0x80});
    EXPECT_EQ(link.readMemoryWord(0x01B4), -32768);
    EXPECT_EQ(unit.received(3), (std::vector<std::uint8_t> {'w', 0xB4, 0x01}));
    link.writeMemoryByte(0x022B, 7);
    EXPECT_EQ(unit.received(4), (std::vector<std::uint8_t> {'e', 0x2B, 0x02, 7}));
    unit.send({'O', 'K', '\r'});
    EXPECT_EQ(link.receiveLine(), "OK");
    const AnswerWord w = wordFromBytes(0xFF, 0xFF);
    EXPECT_EQ(w.unsignedValue, 65535);
    EXPECT_EQ(w.signedValue, -1);
}

TEST(HumgatherSerialLink, SilentUnitIsReportedWhileTheReceiveWaits)
{
    UnitEnd unit(42);
    SerialLink link;
    ASSERT_TRUE(link.open(unit.port(), 115200));
    int notices = 0;
    link.setWaitingHook([&notices](double) { ++notices; }, std::chrono::milliseconds(50));
    std::thread late([&unit] {
        std::this_thread::sleep_for(std::chrono::milliseconds(180));
        unit.send({1, 2});
    });
    std::array<std::uint8_t, 2> bytes {};
    link.receive(bytes);
    late.join();
    EXPECT_EQ(bytes[1], 2);
    EXPECT_GE(notices, 2);
}

TEST(HumgatherSerialLink, TryReceiveTakesAllOrNothing)
{
    UnitEnd unit(45);
    SerialLink link;
    ASSERT_TRUE(link.open(unit.port(), 115200));
    unit.send({1, 2, 3});
    std::array<std::uint8_t, 4> four {};
    EXPECT_FALSE(link.tryReceive(four, std::chrono::milliseconds(50)));
    std::array<std::uint8_t, 3> three {};
    EXPECT_TRUE(link.tryReceive(three, std::chrono::milliseconds(50))); // nothing was taken before
    EXPECT_EQ(three[2], 3);
}

TEST(HumgatherSerialLink, AnswerOfUnknownLengthEndsWhenTheLineIsQuiet)
{
    UnitEnd unit(47);
    SerialLink link;
    ASSERT_TRUE(link.open(unit.port(), 115200));
    std::array<std::uint8_t, 8> answer {};
    unit.send({7, 8});
    EXPECT_EQ(link.receiveUntilQuiet(answer, std::chrono::milliseconds(100)), 2u);
    EXPECT_EQ(answer[1], 8);
    // A unit that answers nothing: back after the quiet time, not trapped.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.receiveUntilQuiet(answer, std::chrono::milliseconds(100)), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(HumgatherSerialLink, ClosedLineEndsTheWait)
{
    UnitEnd unit(43);
    SerialLink link;
    ASSERT_TRUE(link.open(unit.port(), 115200));
    unit.hangUp();
    EXPECT_THROW(link.receiveByte(), LinkLost);
}

TEST(HumgatherSerialLink, MissingPortSaysWhy)
{
    setenv("VORN_COM44", "/nonexistent/humgather-line", 1);
    SerialLink link;
    EXPECT_FALSE(link.open(44, 115200));
    EXPECT_NE(link.errorText().find("/nonexistent/humgather-line"), std::string::npos) << link.errorText();
    unsetenv("VORN_COM44");
}

TEST(HumgatherSerialLink, InterruptInTestModeStopsTheUnitFirst)
{
    UnitEnd unit(46);
    const pid_t child = fork();
    if (child == 0) {
        SerialLink link;
        if (!link.open(unit.port(), 115200))
            _exit(3);
        const StopOnInterrupt guard(link.descriptor());
        std::raise(SIGINT);
        _exit(4); // not reached: the default action ends the process
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    EXPECT_EQ(unit.received(2), (std::vector<std::uint8_t> {'?', 'b'}));

    // Outside test mode the signals are as they were.
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    {
        const StopOnInterrupt guard(-1);
    }
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(before.sa_handler, after.sa_handler);
}

TEST(HumgatherMakerNotices, EnvironmentThenFileThenDefaults)
{
    const auto dir = freshDirectory("notices");
    unsetenv("HUMGATHER_NOTICE");
    unsetenv("HUMGATHER_PROM_TEXT");
    EXPECT_EQ(loadMakerNotices(dir).promText, kDefaultPromText);
    EXPECT_EQ(std::string(kDefaultPromText).size(), kPromTextLength);
    std::ofstream(dir / "humgather.conf") << "# notices\r\nnotice=Field notice\r\nprom_text=From the file\r\n";
    EXPECT_EQ(loadMakerNotices(dir).notice, "Field notice");
    EXPECT_EQ(loadMakerNotices(dir).promText, "From the file");
    setenv("HUMGATHER_PROM_TEXT", "From the environment", 1);
    EXPECT_EQ(loadMakerNotices(dir).promText, "From the environment");
    unsetenv("HUMGATHER_PROM_TEXT");
    fs::remove_all(dir);

    const std::string prom = std::string(14, 'x') + kDefaultPromText;
    EXPECT_EQ(promTextPart(prom), kDefaultPromText);
    EXPECT_EQ(promTextPart("short"), "");
}

void writeScript(const fs::path& path, const std::string& body)
{
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
}

TEST(HumgatherHumsiftLauncher, FoundByVariableBesideTheProgramOrOnPath)
{
    const auto dir = freshDirectory("launcher");
    const auto beside = dir / "bin";
    const auto onPathDir = dir / "path";
    fs::create_directories(beside);
    fs::create_directories(onPathDir);
    writeScript(onPathDir / kHumsiftProgramName, "exit 4");
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", onPathDir.c_str(), 1);
    unsetenv("HUMSIFT");
    EXPECT_EQ(findHumsift(beside), onPathDir / kHumsiftProgramName);
    writeScript(beside / kHumsiftProgramName, "exit 3");
    EXPECT_EQ(findHumsift(beside), beside / kHumsiftProgramName);
    setenv("HUMSIFT", (dir / "missing").c_str(), 1);
    EXPECT_FALSE(findHumsift(beside)); // an explicit choice that does not exist is not replaced
    unsetenv("HUMSIFT");
    setenv("PATH", savedPath.c_str(), 1);

    const HandOverResult ran = runAndWait(beside / kHumsiftProgramName);
    EXPECT_TRUE(ran.started);
    EXPECT_EQ(ran.exitStatus, 3);
    const HandOverResult failed = runAndWait(dir / "nothing-here");
    EXPECT_FALSE(failed.started);
    EXPECT_FALSE(failed.errorText.empty());
    fs::remove_all(dir);
}

} // namespace
} // namespace vorn::humgather

#include "humgather_session.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>

namespace vorn::humgather::testing {

namespace {

// Does the unit on `path` answer a PROM read? The simulator gains its test mode separately.
bool unitHasTestMode(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    termios raw {};
    tcgetattr(fd, &raw);
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
    const std::uint8_t read[] = {'k', 8, 0};
    bool answered = ::write(fd, read, sizeof read) == 3;
    pollfd p {fd, POLLIN, 0};
    answered = answered && ::poll(&p, 1, 500) > 0;
    std::uint8_t reply = 0;
    if (answered)
        answered = ::read(fd, &reply, 1) == 1; // leave nothing behind for Humgather
    ::close(fd);
    return answered;
}

} // namespace

void answer(PtySession& s, const std::string& prompt, const std::string& reply)
{
    ASSERT_TRUE(s.expect(prompt)) << "no prompt \"" << prompt << "\" in:\n" << s.screen();
    ASSERT_TRUE(s.expect(kKeepOrEnter)) << s.screen();
    s.type(reply + "\r");
}

void pressKeyAt(PtySession& s, const std::string& text, int timeoutMs)
{
    ASSERT_TRUE(s.expect(text, timeoutMs)) << "no \"" << text << "\" in:\n" << s.screen();
    s.type(" ");
}

bool contains(const Bytes& haystack, const Bytes& needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

void startInOperationMode(PtySession& s, const std::string& revision)
{
    answer(s, "Vorn operation                        ( 1 )", "1");
    answer(s, "Input a baud number of 0-9  ", "");
    answer(s, "COM5    ( 5 )", "");
    answer(s, "Standalone system ( 0 ), or multiple vornsets ( 1 )  ", "");
    answer(s, " DO ECHO/OK TEST ? NO ( 0 ),  YES ( 1 )  ", "");
    ASSERT_TRUE(s.expect("Software revision number =  " + revision + " ")) << s.screen();
    ASSERT_TRUE(s.expect("** RS-232C COMMUNICATIONS WITH VORN IS OK**")) << s.screen();
    pressKeyAt(s, "HIT ANY KEY TO CONTINUE");
    answer(s, " running std vorn ( 0 ) or Extended Range ( 1 )  ", "");
}

void menu(PtySession& s, const std::string& choice)
{
    answer(s, "EXIT                  ( 27 )", choice);
}

int lowestRowPlaced(const std::string& screen)
{
    static const std::regex placement("\x1b\\[([0-9]+);[0-9]+H");
    int lowest = 0;
    for (auto it = std::sregex_iterator(screen.begin(), screen.end(), placement); it != std::sregex_iterator(); ++it)
        lowest = std::max(lowest, std::stoi((*it)[1].str()));
    return lowest;
}

void HumgatherSession::startUnit(std::uint16_t crystalSpeed)
{
    sim::SimulatorConfig config = sim::standAloneConfig();
    config.units[0].crystalSpeed = crystalSpeed;
    startSimulator(std::move(config));
}

void HumgatherSession::startSimulator(sim::SimulatorConfig config)
{
    config.restartSilence = std::chrono::milliseconds(300);
    master_ = config.units.at(0).address;
    simulator_ = std::make_unique<sim::Simulator>(std::move(config));
    simulator_->start();
    simulator_->exportEnvironment();
    if (!unitHasTestMode(simulator_->linePath(master_)))
        GTEST_SKIP() << "the simulator does not answer test-mode commands";
    simulator_->line(master_).received().clear();
}

bool HumgatherSession::startAtMenu(std::uint16_t crystalSpeed)
{
    startUnit(crystalSpeed);
    if (IsSkipped())
        return false;
    session_ = std::make_unique<PtySession>(HUMGATHER_PATH, dir_.path().string());
    startInOperationMode(*session_);
    return !HasFatalFailure();
}

void HumgatherSession::TearDown()
{
    session_.reset(); // the program goes before its unit
    if (simulator_)
        simulator_->stop();
    unsetenv("VORN_COM1");
    unsetenv("HUMSIFT");
}

Bytes HumgatherSession::received() const
{
    return simulator_->received(master_).bytes();
}

} // namespace vorn::humgather::testing

#pragma once
// Humgather run as a field engineer runs it: on a pseudo-terminal, answering its questions, with
// the simulator (in the test process) as the unit on COM1.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pty_session.h"
#include "simulator.h"
#include "temp_dir.h"

namespace vorn::humgather::testing {

using humsift::testing::PtySession;
using humsift::testing::TempDir;
using Bytes = std::vector<std::uint8_t>;

inline constexpr const char* kKeepOrEnter = "Carriage return to keep this value or enter new value   ";

// Waits for the prompt and its keep-or-enter line, then types the reply and Enter.
void answer(PtySession& s, const std::string& prompt, const std::string& reply);
void pressKeyAt(PtySession& s, const std::string& text, int timeoutMs = 20000);
bool contains(const Bytes& haystack, const Bytes& needle);
// Start-up in operation mode, standalone, no echo test, up to the operational menu.
void startInOperationMode(PtySession& s, const std::string& revision = "3.67");
void menu(PtySession& s, const std::string& choice);
// The highest row a cursor placement names in the program's output.
int lowestRowPlaced(const std::string& screen);

class HumgatherSession : public ::testing::Test {
protected:
    // The stand-alone bench unit at this crystal speed.
    void startUnit(std::uint16_t crystalSpeed);
    // Any simulator set-up; skips the test when the simulator has no test mode.
    void startSimulator(sim::SimulatorConfig config);
    // The bench unit and Humgather (session_) at its operational menu; false when the test is
    // skipped or the start-up failed.
    bool startAtMenu(std::uint16_t crystalSpeed);
    void TearDown() override;
    Bytes received() const;

    std::unique_ptr<sim::Simulator> simulator_;
    std::unique_ptr<PtySession> session_;
    std::uint8_t master_ = 0; // the address of the unit on COM1
    TempDir dir_;
};

} // namespace vorn::humgather::testing

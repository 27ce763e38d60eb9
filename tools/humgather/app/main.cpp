// Humgather: a field engineer's console beside a Vorn unit: positions, angles and their noise,
// the unit's settings, and the room's raw magnetic noise recorded for Humsift.
#include <iostream>
#include <string>

#include "humgather_program.h"
#include "vorn/console/command_line.h"
#include "vorn/console/console.h"
#include "vorn/console/terminal.h"
#include "vorn/console/value_entry.h"
#include "vorn/humgather/humsift_launcher.h"

namespace {

constexpr const char* kUsage =
    "usage: humgather [--help | --version]\n"
    "\n"
    "Talks to a Vorn unit on COM1..COM5 (COM<n> is $VORN_COM<n>, else /dev/ttyS<n-1>): shows\n"
    "positions and angles with their noise, examines and changes the unit's settings, and records\n"
    "the room's raw noise into SENSORnoise.dat for Humsift. Everything else is asked on the console;\n"
    "Ctrl-C ends it at any time.\n";

constexpr int kBottomRow = 25;

// A notice on a line of its own at the bottom, the cursor left where it was, so it neither breaks
// a dialogue's line nor moves a full-screen display.
void showOnBottomRow(vorn::console::Console& console, const std::string& text)
{
    console.print("\x1b"
                  "7");
    console.moveCursor(kBottomRow, 1);
    console.print("\x1b[2K" + text);
    console.print("\x1b"
                  "8");
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = vorn::console::answerCommandLine(argc, argv, "humgather", VORN_VERSION, kUsage))
        return *status;

    using namespace vorn;
    console::Terminal terminal;
    console::Console console(terminal);
    console::ValueEntry entry(console, console::EntryStyle::KeepThisValue);
    humgather::SerialLink link;
    humgather::ProgramSettings settings;
    const auto directory = humgather::ownProgramDirectory();
    humgather::Session session {console, entry, link, settings, humgather::loadMakerNotices(directory), directory};
    // The unit has no time-outs of its own; tell the user when it is silent and how to get out.
    link.setWaitingHook([&console](double seconds) {
        showOnBottomRow(console, "No answer for " + std::to_string(static_cast<int>(seconds)) +
                                     " s: check the unit's cable and power; Ctrl-C ends Humgather.");
    });

    try {
        return humgather::HumgatherProgram(session).run();
    } catch (const console::InputClosed&) {
        console.printLine();
        console.printLine("The keyboard input has ended; Humgather stops here.");
    } catch (const humgather::LinkLost& lost) {
        console.printLine();
        console.printLine(std::string("The connection to the unit is lost (") + lost.what() +
                          "); Humgather stops here.");
    }
    return 1;
}

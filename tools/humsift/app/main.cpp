// Humsift: finds the measurement rate at which a room's magnetic noise disturbs a Vorn unit least.
#include <QApplication>
#include <iostream>

#include "humsift_program.h"
#include "plot_session.h"
#include "vorn/console/command_line.h"
#include "vorn/console/console.h"
#include "vorn/console/terminal.h"
#include "vorn/console/value_entry.h"
#include "vorn/plot/display_platform.h"
#include "vorn/plot/graphics_window.h"

namespace {

constexpr const char* kUsage =
    "usage: humsift [--help | --version]\n"
    "\n"
    "Reads the noise file that Humgather records (SENSORnoise.dat by default), computes the\n"
    "spectrum of the room's magnetic noise and ranks the measurement rates by the noise a Vorn\n"
    "unit would see at each. Everything else is asked on the console; plots appear in a window\n"
    "beside it, or off-screen when there is no display (they can still be saved and printed).\n";

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = vorn::console::answerCommandLine(argc, argv, "humsift", VORN_VERSION, kUsage))
        return *status;

    const bool onScreen = vorn::plot::chooseDisplayPlatform();
    QApplication application(argc, argv);
    vorn::console::Terminal terminal;
    vorn::console::Console console(terminal);
    vorn::console::ValueEntry entry(console, vorn::console::EntryStyle::ExistingValue);
    vorn::plot::GraphicsWindow window;
    window.setKeyHandler([&](vorn::console::Key key) { console.injectKey(key); });
    if (onScreen) window.show();
    // The window lives on while the console waits for the user.
    console.setIdleHook([] { QApplication::processEvents(); });

    vorn::humsift::PlotSession plots(entry, window);
    vorn::humsift::HumsiftProgram program(entry, plots);
    try {
        program.run();
    } catch (const vorn::console::InputClosed&) {
        console.printLine();
        console.printLine("The keyboard input has ended; Humsift stops here.");
        return 1;
    }
    return 0;
}

// Humsift: finds the measurement rate at which a room's magnetic noise disturbs a Vorn unit least.
#include <QApplication>
#include <clocale>
#include <iostream>

#include "humsift_program.h"
#include "output_files.h"
#include "plot_session.h"
#include "vorn/console/command_line.h"
#include "vorn/console/console.h"
#include "vorn/console/terminal.h"
#include "vorn/console/value_entry.h"
#include "vorn/plot/display_platform.h"
#include "vorn/plot/graphics_window.h"

namespace {

constexpr const char* kUsage = "usage: humsift [--help | --version]\n"
                               "\n"
                               "Reads the noise file that Humgather records (SENSORnoise.dat by default),\n"
                               "computes the spectrum of the room's magnetic noise and ranks the measurement\n"
                               "rates by the noise a Vorn unit would see at each. Everything else is asked on\n"
                               "the console; plots appear in a window beside it, or off-screen when there is\n"
                               "no display or it cannot be opened (they can still be saved and printed).\n";

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = vorn::console::answerCommandLine(argc, argv, "humsift", VORN_VERSION, kUsage))
        return *status;

    const vorn::plot::DisplayChoice display = vorn::plot::chooseDisplayPlatform();
    QApplication application(argc, argv);
    // Qt takes the user's locale; the noise and spectrum files have a decimal point whatever it is.
    std::setlocale(LC_NUMERIC, "C");
    vorn::console::Terminal terminal;
    vorn::console::Console console(terminal);
    vorn::console::ValueEntry entry(console, vorn::console::EntryStyle::ExistingValue,
                                    vorn::console::AnswerWithoutNumber::AskAgain);
    vorn::plot::GraphicsWindow window;
    window.setKeyHandler([&](vorn::console::Key key) { console.injectKey(key); });
    if (display.onScreen)
        window.show();
    // The window lives on while the console waits for the user.
    console.setIdleHook([] { QApplication::processEvents(); });

    vorn::humsift::OutputFiles outputs(entry);
    vorn::humsift::PlotSession plots(entry, window, outputs);
    vorn::humsift::HumsiftProgram program(entry, plots, outputs);
    program.setNotice(display.notice);
    try {
        program.run();
    } catch (const vorn::console::InputClosed&) {
        console.printLine();
        console.printLine("The keyboard input has ended; Humsift stops here.");
        return 1;
    }
    return 0;
}

// The hand-over to Humsift: the terminal goes to Humsift until it ends.
#include "dialogues.h"
#include "vorn/humgather/humsift_launcher.h"

namespace vorn::humgather {

void handOverToHumsift(Session& s)
{
    const auto program = findHumsift(s.programDirectory);
    if (!program) {
        s.console.printLine("Humsift cannot be found: it is looked for in $HUMSIFT, beside Humgather (" +
                            s.programDirectory.string() + ") and on PATH.");
        s.console.printLine("The noise file is saved; run humsift yourself in this folder to analyse it.");
        s.waitForKey();
        return;
    }
    // Humsift reads the keyboard itself; give it the terminal as the user left it.
    s.console.terminal().useLineMode();
    const HandOverResult result = runAndWait(*program);
    if (!result.started) {
        s.console.printLine("Humsift (" + program->string() + ") could not be started: " + result.errorText);
        s.console.printLine("The noise file is saved; run humsift yourself in this folder to analyse it.");
        s.waitForKey();
    }
}

} // namespace vorn::humgather

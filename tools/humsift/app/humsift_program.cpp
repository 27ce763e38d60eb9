#include "humsift_program.h"

#include "vorn/console/basic_number.h"

namespace vorn::humsift {

void HumsiftProgram::waitKey() { con().waitForAnyKey("hit any key to continue"); }

std::int32_t HumsiftProgram::askChoice(std::string_view prompt, std::int32_t current, std::int32_t lowest,
                                       std::int32_t highest) {
    for (;;) {
        const std::int32_t answer = entry_.askInt32(prompt, current);
        if (answer >= lowest && answer <= highest) return answer;
        con().printLine("Please enter a number from " + std::to_string(lowest) + " to " + std::to_string(highest) + ".");
    }
}

void HumsiftProgram::run() {
    while (runOnce()) {
    }
}

bool HumsiftProgram::runOnce() {
    con().clearScreen();
    con().printLine("This program will perform a FAST ananysis to give you the best Vorn");
    con().printLine("measurement rate in the operating measurement rate band of 80 to 140 Hz");
    con().printLine("or you can specify and ENGINEERING analysis where you have many options");
    con().printLine("for looking at the environmental noise");
    state_.mode = askChoice("FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", state_.mode, 0, 1);
    if (!state_.fast()) {
        for (;;) {
            state_.maxPoints = entry_.askInt32("Approximate Maximum number of data points in input file  ",
                                               state_.maxPoints);
            if (state_.maxPoints >= 4 && state_.maxPoints <= (1 << 22)) break;
            con().printLine("The number of data points must lie between 4 and 4194304.");
            state_.maxPoints = 32768;
        }
    }
    state_.setDefaults();
    askInterface();
    if (!state_.fast()) {
        runEngineeringMenu();
        return false;
    }
    runFast();
    con().printLine(" Return to the Humgather program for running the Vorn ( 0 )  or");
    return entry_.askInt32(" do more noise spectrum analysis                             ( 1 )", 0) == 1;
}

void HumsiftProgram::askInterface() {
    con().printLine("Select the Communications Interface to The Vorn that was used to collect data");
    state_.interface = askChoice("RS232  ( 0 ),  ISA Bus ( 1 )  ", state_.interface, 0, 1);
    state_.sampleFrequency = state_.interface == 1 ? 3097.0f : 3402.0f;
}

void HumsiftProgram::runFast() {
    state_.window = 0;
    computeSpectrum();
    askMains();
    state_.bandStart = 80.0f;
    state_.bandEnd = 140.0f;
    scanRates(ScanKind::CurrentNotch);
}

void HumsiftProgram::runEngineeringMenu() {
    std::int32_t choice = 0;
    for (;;) {
        con().clearScreen();
        con().printLine(" Compute PSD from raw sensor data            ( 0 )");
        con().printLine(" Plot/determine best measuring rate from PSD ( 1 )");
        con().printLine(" All done - program will end                 ( 2 )");
        choice = askChoice("", choice, 0, 2);
        if (choice == 0) computeSpectrum();
        if (choice == 1) runAnalysisMenu();
        if (choice == 2) return;
    }
}

}  // namespace vorn::humsift

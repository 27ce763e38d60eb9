#include "humsift_program.h"

#include "vorn/console/basic_number.h"

namespace vorn::humsift {

namespace {
constexpr float kRs232SampleFrequency = 3402.0f;
constexpr float kIsaSampleFrequency = 3097.0f;
constexpr std::int32_t kMostPoints = 1 << 22;
} // namespace

void HumsiftProgram::waitKey()
{
    con().waitForAnyKey("hit any key to continue");
}

float HumsiftProgram::askWithin(std::string_view prompt, float current, double low, double high, std::string_view what)
{
    for (;;) {
        const float value = entry_.askSingle(prompt, current);
        if (value >= low && value <= high)
            return value;
        con().printWrapped("The " + std::string(what) + " must lie between " + console::basicNumberDigits(low) +
                           " and " + console::basicNumberDigits(high) + ".");
    }
}

std::int32_t HumsiftProgram::askCountWithin(std::string_view prompt, std::int32_t current, std::int32_t low,
                                            std::int32_t high, std::string_view what)
{
    for (;;) {
        const std::int32_t value = entry_.askInt32(prompt, current);
        if (value >= low && value <= high)
            return value;
        con().printWrapped("The " + std::string(what) + " must lie between " + std::to_string(low) + " and " +
                           std::to_string(high) + ".");
    }
}

float HumsiftProgram::askRate(std::string_view prompt, float current, std::string_view what)
{
    // Up to the top of the spectrum: beyond it nothing folds.
    return askWithin(prompt, current, kLowestRate, state_.spectrum.lastFrequency(), what);
}

void HumsiftProgram::run()
{
    while (runOnce()) {
    }
}

bool HumsiftProgram::runOnce()
{
    con().clearScreen();
    const std::vector<std::string> intro = {"This program will perform a FAST ananysis to give you the best Vorn",
                                            "measurement rate in the operating measurement rate band of 80 to 140 Hz",
                                            "or you can specify and ENGINEERING analysis where you have many options",
                                            "for looking at the environmental noise"};
    if (!notice_.empty()) {
        con().printWrapped(notice_);
        notice_.clear();
    }
    state_.mode = entry_.askChoice(intro, "FAST analysis ( 0 ), or ENGINEERING analysis ( 1 )  ", state_.mode, {0, 1});
    if (!state_.fast())
        state_.maxPoints = askCountWithin("Approximate Maximum number of data points in input file  ", state_.maxPoints,
                                          4, kMostPoints, "number of data points");
    state_.setDefaults();
    askInterface();
    if (!state_.fast()) {
        runEngineeringMenu();
        return false;
    }
    runFast();
    return entry_.askChoice({" Return to the Humgather program for running the Vorn ( 0 )  or"},
                            " do more noise spectrum analysis                             ( 1 )", 0, {0, 1}) == 1;
}

void HumsiftProgram::askInterface()
{
    state_.interface =
        entry_.askChoice({"Select the Communications Interface to The Vorn that was used to collect data"},
                         "RS232  ( 0 ),  ISA Bus ( 1 )  ", state_.interface, {0, 1});
    state_.sampleFrequency = state_.interface == 1 ? kIsaSampleFrequency : kRs232SampleFrequency;
}

void HumsiftProgram::runFast()
{
    state_.window = 0;
    computeSpectrum();
    askMains();
    state_.bandStart = 80.0f;
    state_.bandEnd = 140.0f;
    scanRates(ScanKind::CurrentNotch);
}

void HumsiftProgram::runEngineeringMenu()
{
    std::int32_t choice = 0;
    for (;;) {
        con().clearScreen();
        choice = entry_.askChoice({" Compute PSD from raw sensor data            ( 0 )",
                                   " Plot/determine best measuring rate from PSD ( 1 )",
                                   " All done - program will end                 ( 2 )"},
                                  "", choice, {0, 1, 2});
        if (choice == 0)
            computeSpectrum();
        if (choice == 1)
            runAnalysisMenu();
        if (choice == 2)
            return;
    }
}

} // namespace vorn::humsift

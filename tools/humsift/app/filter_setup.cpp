// The notch filter setup: mains choice, zeros, constants and response.
#include <cmath>

#include "humsift_program.h"
#include "vorn/console/basic_number.h"

namespace vorn::humsift {

namespace {
constexpr const char* kOptionLines[] = {
    "Use Vorn's two notch filter zero values when there is 60 Hz power mains  ( 0 )",
    "Use Vorn's two notch filter zero values when there is 50 Hz power mains  ( 1 )",
    "You specify both notch filter zero values                                ( 2 )",
    "Specify first zero only, program computes second zero for flat response  ( 3 )",
};
}  // namespace

void HumsiftProgram::updateConstants(bool keepAsSaved) {
    const NotchZeros zeros = zerosForOption(static_cast<NotchOption>(state_.notchOption),
                                            {state_.firstZero, state_.secondZero}, state_.rate);
    state_.firstZero = static_cast<float>(zeros.first);
    state_.secondZero = static_cast<float>(zeros.second);
    state_.constants = notchConstants(state_.rate, zeros);
    if (keepAsSaved) state_.saved = {state_.notchOption, zeros, state_.constants};
}

void HumsiftProgram::computeResponse() {
    state_.response.assign(state_.spectrum.binCount(), 1.0);
    filterResponse(state_.constants, state_.notchOff == 1, state_.rate, state_.spectrum.frequency, state_.response);
}

void HumsiftProgram::askMains() {
    con().printLine(kOptionLines[0]);
    state_.notchOption = askChoice(kOptionLines[1], state_.notchOption > 1 ? 0 : state_.notchOption, 0, 1);
    state_.notchOff = 0;
    updateConstants(true);
    computeResponse();
}

void HumsiftProgram::setUpFilter() {
    state_.notchOff = askChoice("Wide Notch filter the sensor data ( 0 ),  Do not Notch filter the data ( 1 ) ",
                                state_.notchOff, 0, 1);
    if (state_.notchOff == 1) {
        computeResponse();
        return;
    }
    for (;;) {
        state_.rate = entry_.askSingle("Vorn MEASUREMENT RATE ", state_.rate);
        if (state_.rate > 0.0f) break;
        con().printLine("The measurement rate must be above 0 Hz.");
        state_.rate = 103.3f;
    }
    for (const char* line : kOptionLines) con().printLine(line);
    state_.notchOption = askChoice("", state_.notchOption, 0, 3);
    if (state_.notchOption >= 2) {
        con().printLine("*******   NOTE  you cannot have a measuring rate equal to or very close");
        con().printLine("******          to either filter zero.  If you do, the filter blows up");
        con().printLine("******          9999.0 is put in the noise data for a blow up at a given freq");
        state_.firstZero = entry_.askSingle(" FREQUENCY OF FIRST ZERO IN HERTZ ", state_.firstZero);
        if (state_.notchOption == 2)
            state_.secondZero = entry_.askSingle(" FREQUENCY OF SECOND ZERO IN HERTZ ", state_.secondZero);
    }
    updateConstants(true);
    const NotchConstants& k = state_.constants;
    con().printLine("NOTCH CONSTANTS NOTCH1,NOTCH2,NOTCH3,F0 " + console::basicNumber(k.notch1) +
                    console::basicNumber(k.notch2) + console::basicNumber(k.notch3) + console::basicNumber(k.f0));
    if (!std::isfinite(k.notch1) || !std::isfinite(k.notch2) || !std::isfinite(k.notch3))
        con().printLine("A filter zero falls on this measurement rate: the filter blows up, and noise figures here are 9999.");
    waitKey();
    computeResponse();
}

}  // namespace vorn::humsift

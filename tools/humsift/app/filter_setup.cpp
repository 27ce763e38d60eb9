// The notch filter setup: mains choice, zeros, constants and response.
#include <cmath>

#include "humsift_program.h"
#include "vorn/console/basic_number.h"
#include "vorn/humsift/rate_report.h"

namespace vorn::humsift {

namespace {

const std::vector<std::string> kOptionLines = {
    "Use Vorn's two notch filter zero values when there is 60 Hz power mains  ( 0 )",
    "Use Vorn's two notch filter zero values when there is 50 Hz power mains  ( 1 )",
    "You specify both notch filter zero values                                ( 2 )",
    "Specify first zero only, program computes second zero for flat response  ( 3 )",
};

bool finite(const NotchConstants& k)
{
    return std::isfinite(k.notch1) && std::isfinite(k.notch2) && std::isfinite(k.notch3);
}

} // namespace

void HumsiftProgram::updateConstants(bool keepAsSaved)
{
    const NotchZeros zeros = zerosForOption(static_cast<NotchOption>(state_.notchOption),
                                            {state_.firstZero, state_.secondZero}, state_.rate);
    state_.firstZero = static_cast<float>(zeros.first);
    state_.secondZero = static_cast<float>(zeros.second);
    state_.constants = notchConstants(state_.rate, zeros);
    if (keepAsSaved)
        state_.saved = {state_.notchOption, zeros, state_.constants};
}

void HumsiftProgram::computeResponse()
{
    state_.response.assign(state_.spectrum.binCount(), 1.0);
    filterResponse(state_.constants, state_.notchOff == 1, state_.rate, state_.spectrum.frequency, state_.response);
    state_.filter = {state_.notchOff == 1,
                     state_.rate,
                     {state_.firstZero, state_.secondZero},
                     state_.notchOff != 1 && !finite(state_.constants)};
}

std::string HumsiftProgram::filterRow() const
{
    if (!state_.filter.blownUp)
        return notchText(state_.filter.off);
    return "Wide Notch Filter Applied, but it blows up at" + console::basicNumber(state_.filter.rate) +
           "Hz (a zero on the rate)";
}

std::vector<std::string> HumsiftProgram::filterInEffectLines(double askedRate) const
{
    const FilterInEffect& f = state_.filter;
    std::vector<std::string> lines;
    if (f.off)
        return {"No Notch Filter Applied"};
    lines.push_back("First filter zero = " + console::basicNumber(f.zeros.first));
    lines.push_back("Second  filter zero = " + console::basicNumber(f.zeros.second));
    if (f.rate != askedRate)
        lines.push_back("The filter in force was computed for a measurement rate of " +
                        console::basicNumberDigits(f.rate) + " Hz (choices 4 and 9 compute it).");
    if (f.blownUp)
        lines.push_back("It blows up at that rate (a zero on the rate), so noise figures read 9999; choice 9 sets up "
                        "another filter.");
    return lines;
}

void HumsiftProgram::askMains()
{
    state_.notchOption =
        entry_.askChoice({kOptionLines[0]}, kOptionLines[1], state_.notchOption > 1 ? 0 : state_.notchOption, {0, 1});
    state_.notchOff = 0;
    updateConstants(true);
    computeResponse();
}

void HumsiftProgram::setUpFilter()
{
    state_.notchOff = entry_.askChoice(
        {}, "Wide Notch filter the sensor data ( 0 ),  Do not Notch filter the data ( 1 ) ", state_.notchOff, {0, 1});
    if (state_.notchOff == 1) {
        computeResponse();
        return;
    }
    state_.rate = askRate("Vorn MEASUREMENT RATE ", state_.rate, "measurement rate in Hz");
    state_.notchOption = entry_.askChoice(kOptionLines, "", state_.notchOption, {0, 1, 2, 3});
    if (state_.notchOption >= 2) {
        con().printLine("*******   NOTE  you cannot have a measuring rate equal to or very close");
        con().printLine("******          to either filter zero.  If you do, the filter blows up");
        con().printLine("******          9999.0 is put in the noise data for a blow up at a given freq");
        state_.firstZero = askRate(" FREQUENCY OF FIRST ZERO IN HERTZ ", state_.firstZero, "filter zero in Hz");
        if (state_.notchOption == 2)
            state_.secondZero = askRate(" FREQUENCY OF SECOND ZERO IN HERTZ ", state_.secondZero, "filter zero in Hz");
    }
    updateConstants(true);
    const NotchConstants& k = state_.constants;
    con().printLine("NOTCH CONSTANTS NOTCH1,NOTCH2,NOTCH3,F0 " + console::basicNumber(k.notch1) +
                    console::basicNumber(k.notch2) + console::basicNumber(k.notch3) + console::basicNumber(k.f0));
    if (!finite(k))
        con().printWrapped("A filter zero falls on this measurement rate: the filter blows up, and noise figures "
                           "here are 9999.");
    waitKey();
    computeResponse();
}

} // namespace vorn::humsift

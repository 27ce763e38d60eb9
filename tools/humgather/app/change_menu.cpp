// Change value: the menu, the guided entry of each parameter and the bytes it goes out as.
#include <optional>
#include <vector>

#include "dialogues.h"
#include "vorn/console/basic_number.h"
#include "vorn/humgather/change_values.h"

namespace vorn::humgather {

namespace {

constexpr int kExitChangeMenu = 99;
constexpr int kMostUnitsInGroup = 30;

constexpr const char* kChangeMenu[] = {
    "Maximum range scaling       ( 3 )",  "FILTER ON/OFF status        ( 4 )",  "ALPHA_MIN table             ( 5 )",
    "measurement rate count      ( 6 )",  "measurement rate            ( 7 )",  "enable/disable data rdy chr ( 8 )",
    "Error detect mask           ( 11 )", "Vm dc filter constants      ( 12 )", "ALPHA_MAX table             ( 13 )",
    "Sudden Output Change Lock   ( 14 )", "Rotate xyz with ref frame   ( 17 )", "Transmitter Operation Mode  ( 18 )",
    "Filter Line Frequency       ( 20 )", "METAL detection             ( 28 )", "Report Rate                 ( 29 )",
    "Group Mode                  ( 35 )", "FVB Auto Configuration      ( 50 )", " EXIT with no changes       ( 99 )",
};

using Bytes = std::vector<std::uint8_t>;

void printAll(Session& s, std::initializer_list<const char*> lines)
{
    for (const char* line : lines)
        s.console.printLine(line);
}

Bytes wordValue(std::int32_t value)
{
    Bytes out;
    appendWord(out, value);
    return out;
}

Bytes rangeValue(Session& s)
{
    std::int32_t range = 0;
    do {
        range = s.entry.askInt32("SET MAXIMUM RANGE TO 36 inches ( 0 ), or 72 inches ( 1 )  ", range);
    } while (range != 0 && range != 1);
    s.settings.positionScale = (range == 0 ? 36.0f : 72.0f) / 32768.0f;
    return wordValue(range);
}

Bytes filterValue(Session& s)
{
    auto answer = [&s](const char* prompt) { return s.entry.askInt32(prompt, 0) == 1 ? 1 : 0; };
    const std::int32_t dc = answer("turn OFF Adaptive DC filter  YES ( 1 ), NO ( 0 )   ");
    const std::int32_t wide = answer("turn OFF Wide notch AC filter  YES ( 1 ), NO ( 0 )  ");
    const std::int32_t twoCycle = answer("turn OFF 2 cycle AC filter YES ( 1 ), NO ( 0 )  ");
    return wordValue(filterWord(dc, wide, twoCycle));
}

Bytes tableValue(Session& s, float scale)
{
    s.console.printLine("enter the 7 values, one for each receiver amplifier gain state");
    auto& entries = s.settings.tableEntries;
    float previous = 0.0f;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        s.console.print(std::to_string(i) + "   ");
        entries[i] = s.entry.askSingle("", previous);
        previous = entries[i];
    }
    return tableBytes(std::span<const float, 7>(entries), scale);
}

// Asks for a rate of at least 12 cycles per second whose coding fits a word.
float askRate(Session& s, bool asCount)
{
    const RateRange range = codableRates(asCount, s.settings.timerTickMicroseconds);
    const std::string crystal = asCount ? " at " + std::to_string(s.settings.crystalSpeedMHz) + " MHz" : "";
    s.console.printLine("*** WARNING do not reduce the measurement rate if synchronized to a CRT ***");
    for (;;) {
        const float rate = s.entry.askSingle("enter measurement rate in cycles/sec ", s.settings.measurementRate);
        if (rate < kLowestMeasurementRate) {
            s.console.printLine("rate must be 12 or greater");
        } else if (rate < static_cast<float>(range.lowest)) {
            s.console.printLine("rate too low for this unit: its count would not fit in a word;");
            s.console.printLine("the lowest rate" + crystal + " is" + console::basicNumber(range.lowest));
        } else if (rate > static_cast<float>(range.highest)) {
            s.console.printLine("rate too high for this unit: its setting would not fit in a word;");
            s.console.printLine("the highest rate" + crystal + " is" + console::basicNumber(range.highest));
        } else {
            s.settings.measurementRate = rate;
            return rate;
        }
    }
}

std::int16_t askMetal(Session& s, const char* prompt, std::int16_t current, int lowest)
{
    for (;;) {
        const std::int32_t value = s.entry.askInt32(prompt, current);
        if (value >= lowest && value <= 255)
            return static_cast<std::int16_t>(value);
        s.console.printLine("The value must be between " + std::to_string(lowest) + " and 255.");
    }
}

Bytes metalValue(Session& s)
{
    MetalDetectionEntry& m = s.settings.metal;
    printAll(s, {" ( 0 ) to turn off metal detection",
                 " ( 1 ) to turn on and use metal defaults, ie it ignores the rest of the parameters",
                 " ( >1) to turn on and use all the parameters below"});
    m.flag = askMetal(s, "", m.flag, 0);
    m.sensitivity = askMetal(s, " input a  sensitivity multiplier between 1 and 127", m.sensitivity, 0);
    s.console.printLine("input an OFFSET between +/- 127 measured at a METALsensitivity=1.");
    m.offset = askMetal(s, "", m.offset, -128);
    s.console.printLine("input a SLOPE between +/- 127 measured at a METALsensitivity=1.");
    m.slope = askMetal(s, "", m.slope, -128);
    printAll(s, {" input the filtering constant alpha to use for filtering the metal",
                 "detector output between 0 and 127", "default is 12"});
    m.alpha = askMetal(s, "", m.alpha, 0);
    return metalDetectionBytes(m);
}

Bytes groupModeValue(Session& s)
{
    ProgramSettings& st = s.settings;
    const std::uint8_t flag = askByte(s, "Disable Group mode ( 0 ), Enable Group mode ( 1 ) ", st.groupModeFlag);
    st.groupModeFlag = flag;
    if (flag == 1) {
        std::int32_t units = st.unitsInGroup > 0 ? st.unitsInGroup : 1;
        for (;;) {
            units = s.entry.askInt32(" How many receivers returning data ", units);
            if (units >= 1 && units <= kMostUnitsInGroup)
                break;
            s.console.printLine("Between 1 and " + std::to_string(kMostUnitsInGroup) + " receivers, please.");
        }
        st.unitsInGroup = units;
    }
    return {flag};
}

// The value of parameter p as the unit takes it, or nothing for a number the menu does not offer.
std::optional<Bytes> askValue(Session& s, int p)
{
    ProgramSettings& st = s.settings;
    auto byte = [&s](const char* prompt) { return Bytes {askByte(s, prompt, 0)}; };
    switch (p) {
    case 3: return rangeValue(s);
    case 4: return filterValue(s);
    case 5:
        printAll(s, {"input minimum filter constant ALPHA_MIN for each XAMPCODE", "ALPHA_MIN must be >0 and <.9996",
                     "nominal value is 0.02", "increase this value to reduce amount of filtering",
                     "decrease this value to increase amount of filtering",
                     "ALPHA_MIN=.9996 means there is almost no exponential filtering"});
        return tableValue(s, 32768.0f);
    case 6: return wordValue(rateCountWord(askRate(s, true), st.timerTickMicroseconds));
    case 7: return wordValue(rateWord(askRate(s, false)));
    case 8: return byte("disable data ready  ( 0 ),  enable  ( 1 )  ");
    case 11:
        printAll(s, {"set the Error Detect Mask by entering 0 or 1 or 3",
                     "MASK=0, on error blinks contineously and performs as defined in user manual",
                     "MASK=1, on error blinks once and trys to continue running",
                     "MASK=3, on error does not blink, continues running, sets error register"});
        return byte("");
    case 12: return tableValue(s, 1.0f);
    case 13:
        printAll(s, {"input filter constant ALPHA_MAX for each XAMPCODE", "ALPHA_MAX must be >ALPHA_MIN and <.9996",
                     "nominal value is 0.9", "increase this value to reduce amount of filtering during fast movements",
                     "decrease this value to increase amount of filtering during fast movements"});
        return tableValue(s, 32768.0f);
    case 14: return byte(" allow the outputs to change if a glitch ( 0 ), don't allow the outputs to change ( 1 ) ");
    case 17: return byte(" do not rotate xyz with ref frame ( 0 ), rotate xyz ( 1 ) ");
    case 18: return byte("xmtr wave form type.  Non-Pulsed ( 0 ), Pulsed ( 1 ), Cool down ( 2 )  ");
    case 20: return byte("enter the power line frequency in Hz, usually 50 or 60  ");
    case 28: return metalValue(s);
    case 29: return byte(" specify a report rate, ie 1,2,3, ect ");
    case 35: return groupModeValue(s);
    case 50: {
        Bytes value = byte("Specify the number of vornset units running on the FVB bus ");
        st.fvbUnitCount = value[0];
        return value;
    }
    default: return std::nullopt;
    }
}

} // namespace

void runChangeMenu(Session& s)
{
    ProgramSettings& st = s.settings;
    s.console.printLine("specify parameter to change");
    for (const char* line : kChangeMenu)
        s.console.printLine(line);
    const std::int32_t p = s.entry.askInt32("", 0);
    s.console.clearScreen();
    if (p == kExitChangeMenu)
        return;
    bool masterOnly = true;
    if (st.vornsetsToRead > 1) {
        masterOnly = s.entry.askInt32(" send to master vornset only (0) or all vornsets (1)  ", 0) != 1;
        st.vornsetsToExamine = masterOnly ? 1 : st.vornsetsToRead;
    }
    const std::optional<Bytes> value = askValue(s, p);
    if (!value)
        return;
    const int targets = masterOnly ? 1 : st.vornsetsToExamine;
    for (int i = 1; i <= targets; ++i) {
        st.currentAddress = masterOnly ? 1 : st.addresses[static_cast<std::size_t>(i - 1)];
        Bytes command {protocol::toByte(protocol::Command::ChangeValue), static_cast<std::uint8_t>(p)};
        command.insert(command.end(), value->begin(), value->end());
        s.sendToCurrentUnit(command);
    }
}

} // namespace vorn::humgather

// Choosing the speed and the port, opening the line and resetting the unit; the vornset
// configuration and the factory's echo/OK line test.
#include <array>

#include "dialogues.h"
#include "protocol/factory_commands.h"
#include "vorn/console/basic_number.h"
#include "vorn/humgather/position_record.h"
#include "vorn/humgather/position_screen.h"

namespace vorn::humgather {

namespace {

constexpr std::array<std::int32_t, 10> kBaudRates {115200, 57600, 38400, 19200, 9600, 4800, 2400, 1200, 600, 300};
constexpr int kHighestAddress = 30; // what the one-byte prefixes reach

void showBaudTable(console::Console& c)
{
    c.printLine("Select baud rate for RS-232C communications to The Vorn");
    c.printLine();
    for (const char* line : {"115,200   ( 0 )", " 57,600   ( 1 )", " 38,400   ( 2 )", " 19,200   ( 3 )",
                             "  9,600   ( 4 )", "  4,800   ( 5 )", "  2,400   ( 6 )"})
        c.printLine(line);
    c.printLine();
    c.printLine("BAUD RATES 300 - 1,200 are not valid for Vorns");
    c.printLine();
    for (const char* line : {"  1,200   ( 7 )", "    600   ( 8 )", "    300   ( 9 )"})
        c.printLine(line);
    c.printLine();
    c.printLine();
}

void chooseBaudRate(Session& s)
{
    std::int32_t code = 0;
    for (;;) {
        showBaudTable(s.console);
        code = s.entry.askInt32("Input a baud number of 0-9  ", code);
        if (code >= 0 && code <= 9)
            s.settings.baudRate = kBaudRates[static_cast<std::size_t>(code)];
        // Another number keeps the previous rate; before there is one, the question comes again.
        if (s.settings.baudRate != 0)
            return;
        s.console.clearScreen();
        s.console.printLine("Please choose one of the baud numbers 0-9.");
        code = 0;
    }
}

void choosePort(Session& s)
{
    std::int32_t number = 1;
    for (;;) {
        s.console.printLine("specify the COM port number being used by the RS232");
        for (int n = 1; n <= 5; ++n)
            s.console.printLine("COM" + std::to_string(n) + "    ( " + std::to_string(n) + " )");
        s.console.printLine();
        s.console.printLine();
        number = s.entry.askInt32("", number);
        if (number >= 1 && number <= 5) {
            s.settings.portNumber = static_cast<unsigned>(number);
            s.settings.portName = "COM" + std::to_string(number);
        }
        if (!s.settings.portName.empty())
            return;
        s.console.clearScreen();
        s.console.printLine("Please choose one of the ports 1-5.");
        number = 1;
    }
}

// Without expanded prefixes a prefix names addresses 0 to 15 only; a larger address would reach
// another unit or none, so it is asked for again.
void askUnreachableAddressesAgain(Session& s)
{
    ProgramSettings& st = s.settings;
    for (auto& address : st.addresses) {
        while (address != 0 && !humgatherPrefix(true, st.expandedPrefixes, address)) {
            s.console.printLine("Address " + std::to_string(address) +
                                " needs expanded addressing (16 or more units); give 0 to 15.");
            address = s.entry.askInt16("", address);
        }
    }
}

} // namespace

bool chooseAndOpenPort(Session& s)
{
    chooseBaudRate(s);
    s.console.clearScreen();
    choosePort(s);
    if (!s.link.open(s.settings.portNumber, static_cast<std::uint32_t>(s.settings.baudRate))) {
        s.console.printLine();
        s.console.printLine("Cannot open " + s.settings.portName + " at " + std::to_string(s.settings.baudRate) +
                            " baud: " + s.link.errorText());
        s.console.printLine("Check that the unit's line is connected (or set VORN_COM" +
                            std::to_string(s.settings.portNumber) + " to its device) and start Humgather again.");
        return false;
    }
    s.link.pulseRts();
    s.console.clearScreen();
    s.console.printLine();
    s.console.printLine("3 second delay while Vorn front panel light blinks as system resets");
    s.console.pause(3.0);
    s.console.clearScreen();
    return true;
}

void configureVornsets(Session& s)
{
    ProgramSettings& st = s.settings;
    const std::int32_t multiple = s.entry.askInt32("Standalone system ( 0 ), or multiple vornsets ( 1 )  ", 0);
    if (multiple == 0) {
        st.vornsetsToRead = 1;
        st.addresses.assign(1, 0);
        return;
    }
    st.multipleVornsets = true;
    s.console.clearScreen();
    std::int32_t count = 1;
    for (;;) {
        count = s.entry.askInt32("how many vornsets to get data from ", count);
        if (count >= 1 && count <= kMostVornsetsToRead)
            break;
        s.console.printLine("Between 1 and " + std::to_string(kMostVornsetsToRead) +
                            " vornsets, please: the position screen has room for " +
                            std::to_string(kMostVornsetsToRead) + ".");
        count = 1;
    }
    st.vornsetsToRead = count;
    st.addresses.resize(static_cast<std::size_t>(count), 0);
    s.console.clearScreen();
    s.console.printLine("specify the address for each of these vornsets");
    for (int i = 1; i <= count; ++i) {
        auto& address = st.addresses[static_cast<std::size_t>(i - 1)];
        for (;;) {
            s.console.printLine("input address #" + console::basicNumber(i));
            address = s.entry.askInt16("", address);
            if (address >= 0 && address <= kHighestAddress)
                break;
            s.console.printLine("FVB addresses go from 0 to " + std::to_string(kHighestAddress) + ".");
            address = 0;
        }
    }
    s.console.clearScreen();
    st.addressingAnswer =
        s.entry.askInt32(" system in normal address mode ( 1 ) or expanded address mode ( 2 )  ", st.addressingAnswer);
    if (st.addressingAnswer != 1) {
        const std::int32_t many =
            s.entry.askInt32("are there less than 16 units in this vornset  YES ( 0 ), NO ( 1 )  ", 0);
        st.expandedPrefixes = many == 1;
    }
    askUnreachableAddressesAgain(s);
}

void runEchoTest(Session& s)
{
    ProgramSettings& st = s.settings;
    for (;;) {
        st.echoTestChoice =
            s.entry.askInt32("OK ( 0 ), ECHO ( 1 ), one number ( 2 ), block of numbers ( 3 )  ", st.echoTestChoice);
        switch (st.echoTestChoice) {
        case 0:
            s.console.printLine("SET DIP SWITCHES 7 AND 8 TO ON (DOWN) + BAUD RATE SWITCHES THEN CYCLE POWER");
            s.console.printLine("(The unit's lines follow; press Ctrl-C to end Humgather.)");
            for (;;)
                s.console.printLine(s.link.receiveLine());
        case 1:
            s.console.printLine("SET DIP SWITCHES 6 AND 8 TO ON (DOWN) + BAUD RATE SWITCHES THEN CYCLE POWER");
            st.echoText = s.entry.askText(" STRING TO ECHO ", st.echoText);
            // Sent as a line: the unit echoes byte for byte, and the answer is read as a line.
            s.link.send(st.echoText + "\r");
            s.console.printLine(" STRING ECHOED BACK " + s.link.receiveLine());
            break;
        case 2:
            s.console.printLine("SET DIP SWITCHES 6,7,8 ON (DOWN) + BAUD RATE SWITCHES THEN CYCLE POWER");
            for (int i = 0; i < 256; ++i) {
                s.link.sendByte(protocol::kLineCheckByte);
                s.console.printLine(console::basicNumber(s.link.receiveByte()));
            }
            break;
        case 3:
            s.console.printLine("SET DIP SWITCHES 5,8 ON (DOWN) + BAUD RATE SWITCHES THEN CYCLE POWER");
            s.link.sendByte(protocol::kLineCheckByte);
            for (int i = 0; i < 256; ++i)
                s.console.printLine(console::basicNumber(s.link.receiveByte()));
            break;
        default: return;
        }
    }
}

} // namespace vorn::humgather

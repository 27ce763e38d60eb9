#include "protocol/report_rate.h"

#include <array>

namespace vorn::protocol {

namespace {

constexpr std::array kRateCommands = {
    CommandCode {1, Command::ReportRate1},
    CommandCode {2, Command::ReportRate2},
    CommandCode {8, Command::ReportRate8},
    CommandCode {32, Command::ReportRate32},
};

} // namespace

std::optional<Command> reportRateCommand(uint8_t reportRate)
{
    return commandForCode(kRateCommands, reportRate);
}

std::optional<uint8_t> reportRateOfCommand(uint8_t commandByte)
{
    return codeForCommand(kRateCommands, commandByte);
}

} // namespace vorn::protocol

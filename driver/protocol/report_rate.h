// Report rates (every 1st, 2nd, 8th or 32nd measurement cycle) and the commands Q R S T.
#pragma once

#include "protocol/commands.h"

#include <cstdint>
#include <optional>

namespace vorn::protocol {

// The command for a report rate of 1, 2, 8 or 32; nullopt for any other value.
std::optional<Command> reportRateCommand(uint8_t reportRate);

// The report rate a command byte selects, or nullopt when it is no report rate command.
std::optional<uint8_t> reportRateOfCommand(uint8_t commandByte);

} // namespace vorn::protocol

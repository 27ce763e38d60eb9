#include "frames/group_mode.h"

#include "config/unit_commands.h"
#include "platform/pump_wait.h"
#include "protocol/parameters.h"

#include <string>

namespace vorn {

namespace {
constexpr uint32_t kAfterGroupModeChangeMs = 1000;
}

bool switchGroupMode(VornGroup& group, UnitLink& link, bool on)
{
    UnitCommands master(group, link, masterUnit(group), UnitCommands::Naming::Master);
    if (!master.changeValue(protocol::toByte(protocol::Parameter::GroupMode), on ? 1 : 0,
                            "\"change group mode\" command"))
        return false;
    // The master has the new mode as soon as the command is out.
    group.groupModeActive = on;
    return platform::PumpWait::forMilliseconds(kAfterGroupModeChangeMs);
}

bool commandMaster(VornGroup& group, UnitLink& link, uint8_t command, const char* what)
{
    UnitCommands master(group, link, masterUnit(group), UnitCommands::Naming::Master);
    const std::string phrase = std::string("\"") + what + "\" command";
    return master.command({command}, phrase.c_str());
}

} // namespace vorn

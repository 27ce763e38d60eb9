#include "controller_soak_link.h"
#include "isa_soak_link.h"
#include "rs232_soak_link.h"

#include <vorn/vorn.h>

namespace vorn::soak {

bool readConfigurationsAndStream(int group, const std::vector<uint8_t>& addresses)
{
    VornDeviceConfig device {};
    for (const uint8_t address : addresses)
        if (vornGetFastDeviceConfig(group, address, &device) != 1)
            return false;
    return vornStartFrameStream(group) == 1;
}

std::unique_ptr<SoakLink> makeLink(const std::string& name)
{
    if (name == "rs232-group")
        return std::make_unique<Rs232SoakLink>(false);
    if (name == "rs232-standalone")
        return std::make_unique<Rs232SoakLink>(true);
    if (name == "tcpip")
        return std::make_unique<ControllerSoakLink>();
    if (name == "isa")
        return std::make_unique<IsaSoakLink>(false);
    if (name == "pv2")
        return std::make_unique<IsaSoakLink>(true);
    return nullptr;
}

std::vector<std::string> linkNames()
{
    return {"rs232-group", "rs232-standalone", "tcpip", "isa", "pv2"};
}

} // namespace vorn::soak

#include "controller/controller_config.h"

namespace vorn::sim {

ControllerConfig controllerConfig(unsigned units)
{
    ControllerConfig config;
    for (unsigned address = 1; address <= units && address <= 120; ++address)
        config.units.push_back(
            {.address = static_cast<uint8_t>(address), .sensorModel = circlingSensor(static_cast<uint8_t>(address))});
    return config;
}

} // namespace vorn::sim

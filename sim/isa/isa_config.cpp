#include "isa/isa_config.h"

namespace vorn::sim {

IsaConfig isaStandAloneConfig(uint16_t base)
{
    return {{IsaUnitConfig {.address = 0, .base = base}}};
}

IsaConfig isaVornsetConfig(const std::vector<uint16_t>& bases)
{
    IsaConfig config;
    for (std::size_t i = 0; i < bases.size(); ++i)
        config.units.push_back({.address = static_cast<uint8_t>(i + 1), .base = bases[i]});
    return config;
}

IsaConfig pv2Config(uint16_t base)
{
    return isaVornsetConfig({base, 0});
}

} // namespace vorn::sim

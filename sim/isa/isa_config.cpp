#include "isa/isa_config.h"

#include <cstdio>
#include <cstdlib>

namespace vorn::sim {

IsaConfig isaStandAloneConfig(uint16_t base)
{
    IsaConfig config;
    config.units.push_back({.address = 0, .base = base, .sensorModel = circlingSensor(0)});
    return config;
}

IsaConfig isaVornsetConfig(const std::vector<uint16_t>& bases)
{
    IsaConfig config;
    for (std::size_t i = 0; i < bases.size(); ++i)
        config.units.push_back({.address = static_cast<uint8_t>(i + 1),
                                .base = bases[i],
                                .sensorModel = circlingSensor(static_cast<uint8_t>(i + 1))});
    return config;
}

IsaConfig pv2Config(uint16_t base)
{
    return isaVornsetConfig({base, 0});
}

std::string baseText(uint16_t base)
{
    char text[8];
    std::snprintf(text, sizeof text, "%#x", base);
    return base == 0 ? "0" : text;
}

std::string boardOverlap(const IsaConfig& config)
{
    constexpr int kPortsPerBoard = 4; // data word and status word
    for (std::size_t i = 0; i < config.units.size(); ++i)
        for (std::size_t j = i + 1; j < config.units.size(); ++j) {
            const int a = config.units[i].base, b = config.units[j].base;
            if (a != 0 && b != 0 && std::abs(a - b) < kPortsPerBoard)
                return "the boards of units " + std::to_string(config.units[i].address) + " and " +
                       std::to_string(config.units[j].address) + " would share ports (" +
                       baseText(config.units[i].base) + ", " + baseText(config.units[j].base) +
                       "): a board takes four ports from its base";
        }
    return {};
}

} // namespace vorn::sim

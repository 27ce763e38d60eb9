#include "simulator_config.h"

namespace vorn::sim {

namespace {

UnitConfig unitAt(uint8_t address)
{
    UnitConfig unit;
    unit.address = address;
    unit.ownLine = address <= 1;
    unit.unitSerial = static_cast<uint16_t>(1000 + address);
    unit.sensorSerial = static_cast<uint16_t>(2000 + address);
    unit.transmitterSerial = static_cast<uint16_t>(3000 + address);
    // Only the master drives a transmitter; every unit has a sensor.
    unit.transmitterBits = address <= 1 ? 0x01 : 0x00;
    unit.sensorModel.trajectory.kind = TrajectoryKind::Circle;
    unit.sensorModel.trajectory.center = {12.0 + 4.0 * address, -4.0 + 3.0 * address, 6.0};
    unit.sensorModel.trajectory.periodSeconds = 6.0 + address;
    return unit;
}

} // namespace

SimulatorConfig vornsetConfig(unsigned units)
{
    SimulatorConfig config;
    for (unsigned address = 1; address <= units && address <= 126; ++address) {
        config.units.push_back(unitAt(static_cast<uint8_t>(address)));
    }
    return config;
}

SimulatorConfig standAloneConfig()
{
    SimulatorConfig config;
    config.units.push_back(unitAt(0));
    // The bench unit for noise collection, which needs at least 40 MHz.
    config.units.back().crystalSpeed = 40;
    return config;
}

} // namespace vorn::sim

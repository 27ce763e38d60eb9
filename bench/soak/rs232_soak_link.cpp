// The RS232 links: a vornset of two units in group mode, and a stand-alone unit.
#include "rs232_soak_link.h"

#include <vorn/vorn.h>

namespace vorn::soak {

namespace {

constexpr uint32_t kTimeoutMs = 300;

int uniform(std::mt19937& random, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

} // namespace

Rs232SoakLink::Rs232SoakLink(bool standAlone) : standAlone_(standAlone) {}

std::string Rs232SoakLink::name() const
{
    return standAlone_ ? "rs232-standalone" : "rs232-group";
}

void Rs232SoakLink::start()
{
    simulator_ = std::make_unique<sim::Simulator>(standAlone_ ? sim::standAloneConfig() : sim::vornsetConfig(2));
    simulator_->start();
    simulator_->exportEnvironment();
}

void Rs232SoakLink::stop()
{
    if (simulator_)
        simulator_->stop();
}

bool Rs232SoakLink::wakeAndStream(int group)
{
    // Stand-alone: the unit's port; a vornset: the port of each address, the master's alone.
    const uint16_t standAlonePorts[] = {1};
    const uint16_t vornsetPorts[] = {0, 1, 0};
    const int units = standAlone_ ? 1 : 2;
    if (vornRS232WakeUp(group, standAlone_ ? 1 : 0, units, standAlone_ ? standAlonePorts : vornsetPorts, 115200,
                        kTimeoutMs, kTimeoutMs) != 1)
        return false;
    return readConfigurationsAndStream(group, addresses());
}

std::vector<uint8_t> Rs232SoakLink::addresses() const
{
    if (standAlone_)
        return {0};
    return {1, 2};
}

std::set<int> Rs232SoakLink::frameErrorCodes() const
{
    return {32, 33, 34, 35};
}

Milliseconds Rs232SoakLink::frameCallLimit() const
{
    return Milliseconds(kTimeoutMs * addresses().size());
}

Fault Rs232SoakLink::injectFault(std::mt19937& random)
{
    sim::Rs232Line& line = simulator_->line(standAlone_ ? 0 : 1);
    const auto now = Clock::now();
    switch (uniform(random, 0, 5)) {
    case 0:
        line.corruptPhasingBits(static_cast<std::size_t>(uniform(random, 1, 3)));
        return {"phasing bit", false, now};
    case 1: line.dropBytes(static_cast<std::size_t>(uniform(random, 1, 5))); return {"dropped bytes", false, now};
    case 2:
        line.duplicateBytes(static_cast<std::size_t>(uniform(random, 1, 5)));
        return {"duplicated bytes", false, now};
    case 3: {
        std::vector<uint8_t> garbage(static_cast<std::size_t>(uniform(random, 1, 200)));
        for (auto& byte : garbage)
            byte = static_cast<uint8_t>(random());
        line.insertGarbage(std::move(garbage));
        return {"garbage", false, now};
    }
    case 4: {
        const Milliseconds stall(uniform(random, 2 * kTimeoutMs, 4 * kTimeoutMs));
        line.stall(stall);
        return {"stall", false, now + stall};
    }
    default: {
        const Milliseconds away(uniform(random, 500, 3000));
        line.closeLine(away);
        return {"pulled line", true, now + away};
    }
    }
}

void Rs232SoakLink::clearFaults() {}

} // namespace vorn::soak

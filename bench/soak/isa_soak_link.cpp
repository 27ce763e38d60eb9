#include "isa_soak_link.h"

#include <vorn/vorn.h>

namespace vorn::soak {

namespace {

constexpr uint16_t kBase = 0x300;
constexpr uint32_t kTimeoutMs = 300;

} // namespace

IsaSoakLink::IsaSoakLink(bool pv2) : pv2_(pv2) {}

void IsaSoakLink::start()
{
    server_ = std::make_unique<sim::PortIoServer>(pv2_ ? sim::pv2Config(kBase) : sim::isaStandAloneConfig(kBase));
    server_->start();
    server_->exportEnvironment();
}

void IsaSoakLink::stop()
{
    if (server_)
        server_->stop();
}

bool IsaSoakLink::wakeAndStream(int group)
{
    const uint16_t bases[] = {kBase};
    const int woken = pv2_ ? vornPV2WakeUp(group, kBase, kTimeoutMs, kTimeoutMs)
                           : vornISAWakeUp(group, 1, 1, bases, kTimeoutMs, kTimeoutMs);
    if (woken != 1)
        return false;
    return readConfigurationsAndStream(group, addresses());
}

std::vector<uint8_t> IsaSoakLink::addresses() const
{
    if (pv2_)
        return {1, 2};
    return {0};
}

std::set<int> IsaSoakLink::frameErrorCodes() const
{
    return {33, 34, 48};
}

Milliseconds IsaSoakLink::frameCallLimit() const
{
    return Milliseconds(kTimeoutMs * addresses().size());
}

Fault IsaSoakLink::injectFault(std::mt19937& random)
{
    const auto now = Clock::now();
    switch (std::uniform_int_distribution<int>(0, 2)(random)) {
    case 0:
        server_->rack().corruptPhasing(std::uniform_int_distribution<int>(1, 3)(random));
        return {"phasing bit", false, now};
    case 1: {
        const Milliseconds stall(std::uniform_int_distribution<uint32_t>(2 * kTimeoutMs, 4 * kTimeoutMs)(random));
        server_->setFaults({.stall = stall});
        return {"stall", false, now + stall};
    }
    default: {
        // The socket hangs up on every access until the fault is taken back.
        const Milliseconds away(std::uniform_int_distribution<int>(200, 2000)(random));
        server_->setFaults({.closeOnAccess = true});
        return {"board hang-up", true, now + away};
    }
    }
}

void IsaSoakLink::clearFaults()
{
    server_->setFaults({});
}

} // namespace vorn::soak

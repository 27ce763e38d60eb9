#include "controller_soak_link.h"

#include <vorn/vorn.h>

#include <cstdlib>
#include <string>

namespace vorn::soak {

namespace {

// The library's receive time-out, shortened from its default so that hang-ups show quickly.
constexpr Milliseconds kPacketTimeout {1000};

} // namespace

void ControllerSoakLink::start()
{
    ::setenv("VORN_TCPIP_TIMEOUT_MS", std::to_string(kPacketTimeout.count()).c_str(), 1);
    controller_ = std::make_unique<sim::ControllerServer>(sim::controllerConfig(2));
    controller_->start();
}

void ControllerSoakLink::stop()
{
    if (controller_)
        controller_->stop();
}

bool ControllerSoakLink::wakeAndStream(int group)
{
    if (vornTCPIPWakeUp(group, "127.0.0.1", controller_->port(), 2) != 1)
        return false;
    return vornStartFrameStream(group) == 1;
}

std::set<int> ControllerSoakLink::frameErrorCodes() const
{
    return {16, 18, 19, 20};
}

Milliseconds ControllerSoakLink::frameCallLimit() const
{
    return kPacketTimeout;
}

Fault ControllerSoakLink::injectFault(std::mt19937& random)
{
    // Packet faults last a few packets, then the run takes them back.
    const auto now = Clock::now();
    const auto over = now + Milliseconds(std::uniform_int_distribution<int>(20, 300)(random));
    switch (std::uniform_int_distribution<int>(0, 5)(random)) {
    case 0: controller_->setFaults({.dataPacketType = 211}); return {"other packet type", false, over};
    case 1: controller_->setFaults({.announcedPayload = 60000}); return {"oversize packet", false, over};
    case 2: controller_->setFaults({.truncateLastRecord = true}); return {"truncated packet", false, over};
    case 3: controller_->setFaults({.recordAddress = 125}); return {"bad record address", false, over};
    case 4: controller_->setFaults({.recordFormat = 15}); return {"bad data format", false, over};
    default: controller_->hangUpAll(); return {"controller hang-up", true, now};
    }
}

void ControllerSoakLink::clearFaults()
{
    controller_->setFaults({});
}

} // namespace vorn::soak

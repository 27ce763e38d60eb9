#pragma once

#include "soak_link.h"

#include "controller/controller_server.h"

namespace vorn::soak {

// The networked controller with two units on a loopback port.
class ControllerSoakLink : public SoakLink {
public:
    std::string name() const override { return "tcpip"; }
    void start() override;
    void stop() override;
    bool wakeAndStream(int group) override;
    std::vector<uint8_t> addresses() const override { return {1, 2}; }
    std::set<int> frameErrorCodes() const override;
    Milliseconds frameCallLimit() const override;
    Fault injectFault(std::mt19937& random) override;
    void clearFaults() override;

private:
    std::unique_ptr<sim::ControllerServer> controller_;
};

} // namespace vorn::soak

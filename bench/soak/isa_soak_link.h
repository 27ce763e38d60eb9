#pragma once

#include "soak_link.h"

#include "isa/port_io_server.h"

namespace vorn::soak {

// An ISA board behind the port-I/O socket: a stand-alone board, or a PV2 master reading two
// units through it.
class IsaSoakLink : public SoakLink {
public:
    explicit IsaSoakLink(bool pv2);
    std::string name() const override { return pv2_ ? "pv2" : "isa"; }
    void start() override;
    void stop() override;
    bool wakeAndStream(int group) override;
    std::vector<uint8_t> addresses() const override;
    std::set<int> frameErrorCodes() const override;
    Milliseconds frameCallLimit() const override;
    Fault injectFault(std::mt19937& random) override;
    void clearFaults() override;

private:
    bool pv2_;
    std::unique_ptr<sim::PortIoServer> server_;
};

} // namespace vorn::soak

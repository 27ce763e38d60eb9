#pragma once

#include "soak_link.h"

#include "simulator.h"

namespace vorn::soak {

class Rs232SoakLink : public SoakLink {
public:
    explicit Rs232SoakLink(bool standAlone);
    std::string name() const override;
    void start() override;
    void stop() override;
    bool wakeAndStream(int group) override;
    std::vector<uint8_t> addresses() const override;
    std::set<int> frameErrorCodes() const override;
    Milliseconds frameCallLimit() const override;
    Fault injectFault(std::mt19937& random) override;
    void clearFaults() override;

private:
    bool standAlone_;
    std::unique_ptr<sim::Simulator> simulator_;
};

} // namespace vorn::soak

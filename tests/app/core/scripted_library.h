// A library stand-in for the widget-free flows: it answers like a group of
// units whose configuration and model strings a test sets, and records every
// call so a test can check the order and bytes the program sends.
#pragma once

#include "core/messages.h"
#include "core/vorn_library.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vornscope::testing {

struct Call {
    Call(const char* callName) : name(callName) {} // NOLINT: calls are named by string literals
    std::string name;
    int unit = -1;
    std::vector<std::uint8_t> bytes; // commands sent
    VornDeviceConfig config {};      // device configurations set
    int standAlone = -1;
    std::vector<std::uint16_t> table; // ports or base addresses of a wake-up
    int count = -1;
};

class ScriptedLibrary final : public VornLibrary {
public:
    // What the units look like.
    bool wakeSucceeds = true;
    bool pv2Succeeds = true;
    VornSystemConfig system {};
    VornSystemConfig systemAfterPv2 {};
    std::map<int, VornDeviceConfig> devices;
    std::map<int, std::string> models;                       // ten-character model strings
    std::map<int, std::vector<std::uint8_t>> examineAnswers; // by parameter, as the unit sends it
    bool pv2Woken = false;
    // Refusals with the library's message, as takeFailure() then gives it.
    std::optional<std::string> refuseSystemConfig;
    std::map<std::uint16_t, std::string> refusedScalings;

    std::vector<Call> calls;
    std::vector<std::string> names() const;
    std::vector<Call> named(const std::string& name) const;

    void shutDown(int group) override;
    bool rs232WakeUp(int group, int standAlone, int count, const std::uint16_t* ports, std::uint32_t baud,
                     std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    bool isaWakeUp(int group, int standAlone, int count, const std::uint16_t* bases, std::uint32_t readTimeout,
                   std::uint32_t writeTimeout) override;
    bool tcpipWakeUp(int group, const std::string& server, std::uint16_t port, int count) override;
    bool pv2WakeUp(int group, std::uint16_t base, std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    bool getSystemConfig(int group, VornSystemConfig& config) override;
    bool setSystemConfig(int group, VornSystemConfig& config) override;
    bool getDeviceConfig(int group, int unit, VornDeviceConfig& config) override;
    bool setDeviceConfig(int group, int unit, const VornDeviceConfig& config) override;
    bool getFastDeviceConfig(int group, int unit, VornDeviceConfig& config) override;
    bool sendCommand(Transport link, int group, int unit, const std::uint8_t* bytes, std::uint16_t count) override;
    bool getResponse(Transport link, int group, int unit, std::uint8_t* bytes, std::uint16_t count) override;
    std::string takeFailure() override;

private:
    bool fail(const std::string& message);

    std::vector<std::uint8_t> pending_;
    std::string failure_;
};

// Records the texts of the message boxes a flow shows and answers OK.
class RecordingSink final : public MessageSink {
public:
    std::vector<std::string> texts;
    MessageAnswer show(const std::string& text, const std::string&, MessageIcon, MessageButtons) override
    {
        texts.push_back(text);
        return MessageAnswer::Ok;
    }
};

} // namespace vornscope::testing

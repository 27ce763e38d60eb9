// The library calls Vornscope makes, behind one small interface. The program
// uses LibVorn (the real libvorn); tests of the widget-free flows may script
// the units' answers through their own implementation.
#pragma once

#include <vorn/vorn.h>

#include <cstdint>
#include <string>

namespace vornscope {

// How a group is connected; the numbers are CVornGroup's transport field.
enum class Transport : int { RS232 = 0, ISA = 1, TCPIP = 2 };

class VornLibrary {
public:
    virtual ~VornLibrary() = default;

    virtual void shutDown(int group) = 0;
    virtual bool rs232WakeUp(int group, int standAlone, int count, const std::uint16_t* comPorts, std::uint32_t baud,
                             std::uint32_t readTimeout, std::uint32_t writeTimeout) = 0;
    virtual bool isaWakeUp(int group, int standAlone, int count, const std::uint16_t* baseAddresses,
                           std::uint32_t readTimeout, std::uint32_t writeTimeout) = 0;
    virtual bool tcpipWakeUp(int group, const std::string& server, std::uint16_t port, int count) = 0;
    virtual bool pv2WakeUp(int group, std::uint16_t masterBase, std::uint32_t readTimeout,
                           std::uint32_t writeTimeout) = 0;

    virtual bool getSystemConfig(int group, VornSystemConfig& config) = 0;
    virtual bool setSystemConfig(int group, VornSystemConfig& config) = 0;
    virtual bool getDeviceConfig(int group, int unit, VornDeviceConfig& config) = 0;
    virtual bool setDeviceConfig(int group, int unit, const VornDeviceConfig& config) = 0;
    virtual bool getFastDeviceConfig(int group, int unit, VornDeviceConfig& config) = 0;

    // The pass-through of raw unit commands (RS232 and ISA only).
    virtual bool sendCommand(Transport link, int group, int unit, const std::uint8_t* bytes, std::uint16_t count) = 0;
    virtual bool getResponse(Transport link, int group, int unit, std::uint8_t* bytes, std::uint16_t count) = 0;

    // The library's own message for the last call on this thread that
    // failed, or empty; taking it clears it.
    virtual std::string takeFailure() = 0;
};

// The real library.
class LibVorn final : public VornLibrary {
public:
    // Keeps the library's messages for takeFailure() instead of showing them.
    LibVorn();
    void shutDown(int group) override;
    bool rs232WakeUp(int group, int standAlone, int count, const std::uint16_t* comPorts, std::uint32_t baud,
                     std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    bool isaWakeUp(int group, int standAlone, int count, const std::uint16_t* baseAddresses, std::uint32_t readTimeout,
                   std::uint32_t writeTimeout) override;
    bool tcpipWakeUp(int group, const std::string& server, std::uint16_t port, int count) override;
    bool pv2WakeUp(int group, std::uint16_t masterBase, std::uint32_t readTimeout, std::uint32_t writeTimeout) override;
    bool getSystemConfig(int group, VornSystemConfig& config) override;
    bool setSystemConfig(int group, VornSystemConfig& config) override;
    bool getDeviceConfig(int group, int unit, VornDeviceConfig& config) override;
    bool setDeviceConfig(int group, int unit, const VornDeviceConfig& config) override;
    bool getFastDeviceConfig(int group, int unit, VornDeviceConfig& config) override;
    bool sendCommand(Transport link, int group, int unit, const std::uint8_t* bytes, std::uint16_t count) override;
    bool getResponse(Transport link, int group, int unit, std::uint8_t* bytes, std::uint16_t count) override;
    std::string takeFailure() override;
};

// The real library as the program's commands share it (it keeps no state).
VornLibrary& programLibrary();

} // namespace vornscope

#include "core/vorn_library.h"

#include <vorn/vorn_host.h>

#include <mutex>

namespace vornscope {
namespace {

// Per thread: the library reports a failure on the thread of the failing call.
thread_local std::string lastFailure;

void keepMessage(const char* message, void*)
{
    lastFailure = message;
}

} // namespace

LibVorn::LibVorn()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        vornHostSetMessageHandler(&keepMessage, nullptr);
        vornDisplayErrorDialogs(1);
    });
}

std::string LibVorn::takeFailure()
{
    std::string message;
    message.swap(lastFailure);
    return message;
}

VornLibrary& programLibrary()
{
    static LibVorn library;
    return library;
}

void LibVorn::shutDown(int group)
{
    vornShutDown(group);
}

bool LibVorn::rs232WakeUp(int group, int standAlone, int count, const std::uint16_t* comPorts, std::uint32_t baud,
                          std::uint32_t readTimeout, std::uint32_t writeTimeout)
{
    return vornRS232WakeUp(group, standAlone, count, comPorts, baud, readTimeout, writeTimeout) != 0;
}

bool LibVorn::isaWakeUp(int group, int standAlone, int count, const std::uint16_t* baseAddresses,
                        std::uint32_t readTimeout, std::uint32_t writeTimeout)
{
    return vornISAWakeUp(group, standAlone, count, baseAddresses, readTimeout, writeTimeout) != 0;
}

bool LibVorn::tcpipWakeUp(int group, const std::string& server, std::uint16_t port, int count)
{
    return vornTCPIPWakeUp(group, server.c_str(), port, count) != 0;
}

bool LibVorn::pv2WakeUp(int group, std::uint16_t masterBase, std::uint32_t readTimeout, std::uint32_t writeTimeout)
{
    return vornPV2WakeUp(group, masterBase, readTimeout, writeTimeout) != 0;
}

bool LibVorn::getSystemConfig(int group, VornSystemConfig& config)
{
    return vornGetSystemConfig(group, &config) != 0;
}

bool LibVorn::setSystemConfig(int group, VornSystemConfig& config)
{
    return vornSetSystemConfig(group, &config) != 0;
}

bool LibVorn::getDeviceConfig(int group, int unit, VornDeviceConfig& config)
{
    return vornGetDeviceConfig(group, unit, &config) != 0;
}

bool LibVorn::setDeviceConfig(int group, int unit, const VornDeviceConfig& config)
{
    return vornSetDeviceConfig(group, unit, &config) != 0;
}

bool LibVorn::getFastDeviceConfig(int group, int unit, VornDeviceConfig& config)
{
    return vornGetFastDeviceConfig(group, unit, &config) != 0;
}

bool LibVorn::sendCommand(Transport link, int group, int unit, const std::uint8_t* bytes, std::uint16_t count)
{
    if (link == Transport::RS232)
        return vornRS232SendCommand(group, unit, bytes, count) != 0;
    if (link == Transport::ISA)
        return vornISASendCommand(group, unit, bytes, count) != 0;
    return false;
}

bool LibVorn::getResponse(Transport link, int group, int unit, std::uint8_t* bytes, std::uint16_t count)
{
    if (link == Transport::RS232)
        return vornRS232GetResponse(group, unit, bytes, count) != 0;
    if (link == Transport::ISA)
        return vornISAGetResponse(group, unit, bytes, count) != 0;
    return false;
}

} // namespace vornscope

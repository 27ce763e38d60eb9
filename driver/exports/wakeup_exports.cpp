// The four wake-ups and vornShutDown.
#include "exports/dispatch.h"
#include "group/workers.h"

#include <vorn/vorn.h>

using namespace vorn;

extern "C" {

int vornTCPIPWakeUp(int group, const char* serverAddress, uint16_t port, int numberOfUnits)
{
    return wakeUp(Export::TCPIPWakeUp, group, {.pointer = serverAddress, .numberOfUnits = numberOfUnits},
                  [&](VornGroup& g) { return tcpipWakeUp(g, serverAddress, port, numberOfUnits); });
}

int vornRS232WakeUp(int group, int standAlone, int numberOfUnits, const uint16_t* comPorts, uint32_t baudRate,
                    uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
{
    return wakeUp(
        Export::RS232WakeUp, group,
        {.pointer = comPorts, .numberOfUnits = numberOfUnits, .standAlone = standAlone != 0}, [&](VornGroup& g) {
            return rs232WakeUp(g, standAlone != 0, numberOfUnits, comPorts, baudRate, readTimeoutMs, writeTimeoutMs);
        });
}

int vornISAWakeUp(int group, int standAlone, int numberOfUnits, const uint16_t* baseAddresses, uint32_t readTimeoutMs,
                  uint32_t writeTimeoutMs)
{
    return wakeUp(Export::ISAWakeUp, group,
                  {.pointer = baseAddresses, .numberOfUnits = numberOfUnits, .standAlone = standAlone != 0},
                  [&](VornGroup& g) {
                      return isaWakeUp(g, standAlone != 0, numberOfUnits, baseAddresses, readTimeoutMs, writeTimeoutMs);
                  });
}

int vornPV2WakeUp(int group, uint16_t masterBaseAddress, uint32_t readTimeoutMs, uint32_t writeTimeoutMs)
{
    return wakeUp(Export::PV2WakeUp, group, {},
                  [&](VornGroup& g) { return pv2WakeUp(g, masterBaseAddress, readTimeoutMs, writeTimeoutMs); });
}

void vornShutDown(int group)
{
    shutDown(group);
}

} // extern "C"

// The TCP/IP side of the configuration workers: the networked controller
// takes its configuration in status blocks rather than unit commands.
#pragma once

#include <vorn/vorn.h>

namespace vorn {

struct VornGroup;

int tcpipGetSystemConfig(VornGroup& group, VornSystemConfig& config);
int tcpipSetSystemConfig(VornGroup& group, VornSystemConfig& config);
// The controller answers with every field at once: fast and normal are one.
int tcpipGetDeviceConfig(VornGroup& group, int unit, VornDeviceConfig& config);
int tcpipSetDeviceConfig(VornGroup& group, int unit, const VornDeviceConfig& config);

} // namespace vorn

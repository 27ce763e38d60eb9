// System and device configuration as text a person can read.
#pragma once

#include <vorn/vorn.h>

#include <cstdio>

namespace vornctl {

void printSystemConfig(std::FILE* out, const VornSystemConfig& config, bool standAlone);
void printDeviceConfig(std::FILE* out, int address, const VornDeviceConfig& config);

} // namespace vornctl

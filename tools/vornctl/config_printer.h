// System and device configuration as text a person can read.
#pragma once

#include <vorn/vorn.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace vornctl {

void printSystemConfig(std::FILE* out, const VornSystemConfig& config, bool standAlone);
void printDeviceConfig(std::FILE* out, int address, const VornDeviceConfig& config);

// The same as one JSON object: {"system": {...}, "units": [{...}, ...]}
// with the units of `addresses`.
void printConfigurationJson(std::FILE* out, const VornSystemConfig& system, bool standAlone,
                            const std::vector<int>& addresses,
                            const std::function<const VornDeviceConfig&(int)>& deviceOf);

} // namespace vornctl

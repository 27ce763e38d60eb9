// Feeds arbitrary bytes to the controller's system and device status block
// decoders. An accepted block must re-encode to a block that decodes to the
// same fields; the rate must stay in the six-digit field's range.
#include "protocol/device_status_block.h"
#include "protocol/system_status_block.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace vp = vorn::protocol;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void systemBlock(std::span<const uint8_t> bytes)
{
    vp::SystemStatusBlock block {};
    if (!vp::decodeSystemStatusBlock(bytes, block).ok())
        return;
    check(std::isfinite(block.measurementRate) && block.measurementRate >= 0 && block.measurementRate < 1000);
    const auto again = vp::encodeSystemStatusBlock(block);
    check(std::memcmp(again.data(), bytes.data(), again.size()) == 0);
}

void deviceBlock(std::span<const uint8_t> bytes)
{
    VornDeviceConfig config {};
    if (!vp::decodeDeviceStatusBlock(bytes, config).ok())
        return;
    const auto again = vp::encodeDeviceStatusBlock(config);
    VornDeviceConfig twice {};
    check(vp::decodeDeviceStatusBlock(again, twice).ok());
    check(std::memcmp(&config, &twice, sizeof config) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    systemBlock(bytes);
    deviceBlock(bytes);
    return 0;
}

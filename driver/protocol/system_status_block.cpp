#include "protocol/system_status_block.h"

#include "protocol/word_codec.h"

#include <algorithm>
#include <cmath>

namespace vorn::protocol {

namespace {

constexpr std::size_t kRateOffset = 5;
constexpr std::size_t kRevisionOffset = 14;
constexpr std::size_t kUnitStatusOffset = 16;
constexpr long kLargestRateCount = 999999;

} // namespace

SystemStatusBlock systemStatusBlockOf(const VornSystemConfig& config)
{
    SystemStatusBlock block;
    block.systemStatus = config.systemStatus;
    block.errorCode = config.errorCode;
    block.numberOfUnits = config.numberOfUnits;
    block.controllerField1 = config.controllerField1;
    block.transmitter = config.transmitter;
    block.measurementRate = config.measurementRate;
    block.controllerField2 = config.controllerField2;
    block.controllerField3 = config.controllerField3;
    block.controllerField4 = config.controllerField4;
    block.softwareRevision = config.softwareRevision;
    std::copy_n(config.unitStatus + 1, kControllerUnitEntries, block.unitStatus.begin());
    return block;
}

std::array<uint8_t, 6> measurementRateDigits(double rate)
{
    long count = 0;
    if (std::isfinite(rate) && rate > 0.0) {
        count = static_cast<long>(std::min(rate * 1000.0 + 0.5, static_cast<double>(kLargestRateCount)));
    }
    std::array<uint8_t, 6> digits {};
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        *it = static_cast<uint8_t>('0' + count % 10);
        count /= 10;
    }
    return digits;
}

std::array<uint8_t, kSystemStatusBlockBytes> encodeSystemStatusBlock(const SystemStatusBlock& block)
{
    std::array<uint8_t, kSystemStatusBlockBytes> out {};
    out[0] = block.systemStatus;
    out[1] = block.errorCode;
    out[2] = block.numberOfUnits;
    out[3] = block.controllerField1;
    out[4] = block.transmitter;
    const auto digits = measurementRateDigits(block.measurementRate);
    std::copy(digits.begin(), digits.end(), out.begin() + kRateOffset);
    out[11] = block.controllerField2;
    out[12] = block.controllerField3;
    out[13] = block.controllerField4;
    putBigEndian16(block.softwareRevision, &out[kRevisionOffset]);
    std::copy(block.unitStatus.begin(), block.unitStatus.end(), out.begin() + kUnitStatusOffset);
    return out;
}

DecodeResult decodeSystemStatusBlock(std::span<const uint8_t> bytes, SystemStatusBlock& block)
{
    if (bytes.size() < kSystemStatusBlockBytes) {
        return DecodeResult::needMore(kSystemStatusBlockBytes);
    }
    double rate = 0.0;
    double weight = 100.0;
    for (std::size_t i = 0; i < 6; ++i, weight /= 10.0) {
        const uint8_t c = bytes[kRateOffset + i];
        if (c < '0' || c > '9') {
            return DecodeResult::invalid(DecodeFault::BadRateDigits);
        }
        rate += (c - '0') * weight;
    }
    block.systemStatus = bytes[0];
    block.errorCode = bytes[1];
    block.numberOfUnits = bytes[2];
    block.controllerField1 = bytes[3];
    block.transmitter = bytes[4];
    block.measurementRate = rate;
    block.controllerField2 = bytes[11];
    block.controllerField3 = bytes[12];
    block.controllerField4 = bytes[13];
    block.softwareRevision = readBigEndian16(&bytes[kRevisionOffset]);
    std::copy_n(bytes.begin() + kUnitStatusOffset, kControllerUnitEntries, block.unitStatus.begin());
    return DecodeResult::valid(kSystemStatusBlockBytes);
}

} // namespace vorn::protocol

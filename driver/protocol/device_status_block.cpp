#include "protocol/device_status_block.h"

#include "protocol/data_format.h"
#include "protocol/word_codec.h"

namespace vorn::protocol {

namespace {

constexpr std::size_t kAlphaMinOffset = 16;
constexpr std::size_t kAlphaMaxOffset = 30;
constexpr std::size_t kVmOffset = 44;
constexpr std::size_t kReferenceFrameOffset = 58;
constexpr std::size_t kAngleAlignOffset = 64;

template <typename Word, std::size_t N> void putWords(const Word (&words)[N], uint8_t* out)
{
    for (std::size_t i = 0; i < N; ++i) {
        putBigEndian16(static_cast<uint16_t>(words[i]), out + 2 * i);
    }
}

template <typename Word, std::size_t N> void readWords(const uint8_t* in, Word (&words)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        words[i] = static_cast<Word>(readBigEndian16(in + 2 * i));
    }
}

} // namespace

std::array<uint8_t, kDeviceStatusBlockBytes> encodeDeviceStatusBlock(const VornDeviceConfig& config)
{
    std::array<uint8_t, kDeviceStatusBlockBytes> out {};
    out[0] = config.status;
    out[1] = config.status2;
    putBigEndian16(config.softwareRevision, &out[2]);
    out[4] = config.errorCode;
    out[5] = config.setup;
    out[6] = static_cast<uint8_t>((config.dataFormat & 0x0F) | (wordsForDataFormat(config.dataFormat) << 4));
    out[7] = config.reportRate;
    putBigEndian16(config.scaling, &out[8]);
    out[10] = config.hemisphere;
    out[11] = config.address;
    out[12] = config.transmitterType;
    putWords(config.alphaMin, &out[kAlphaMinOffset]);
    putWords(config.alphaMax, &out[kAlphaMaxOffset]);
    putWords(config.vm, &out[kVmOffset]);
    putWords(config.referenceFrame, &out[kReferenceFrameOffset]);
    putWords(config.angleAlign, &out[kAngleAlignOffset]);
    return out;
}

DecodeResult decodeDeviceStatusBlock(std::span<const uint8_t> bytes, VornDeviceConfig& config)
{
    if (bytes.size() < kDeviceStatusBlockBytes) {
        return DecodeResult::needMore(kDeviceStatusBlockBytes);
    }
    config.status = bytes[0];
    config.status2 = bytes[1];
    config.softwareRevision = readBigEndian16(&bytes[2]);
    config.errorCode = bytes[4];
    config.setup = bytes[5];
    config.dataFormat = bytes[6] & 0x0F;
    config.reportRate = bytes[7];
    config.scaling = readBigEndian16(&bytes[8]);
    config.hemisphere = bytes[10];
    config.address = bytes[11];
    config.transmitterType = bytes[12];
    readWords(&bytes[kAlphaMinOffset], config.alphaMin);
    readWords(&bytes[kAlphaMaxOffset], config.alphaMax);
    readWords(&bytes[kVmOffset], config.vm);
    readWords(&bytes[kReferenceFrameOffset], config.referenceFrame);
    readWords(&bytes[kAngleAlignOffset], config.angleAlign);
    return DecodeResult::valid(kDeviceStatusBlockBytes);
}

} // namespace vorn::protocol

#include "igtl_codec.h"

#include <igtlStatusMessage.h>
#include <igtl_header.h>
#include <igtl_transform.h>
#include <igtl_util.h>

#include <algorithm>
#include <cstring>

namespace vornigtl {

namespace {

// Fixed-size name field: copied, cut at its size, zero-padded.
template <std::size_t N> void copyName(char (&field)[N], std::string_view name)
{
    std::memset(field, 0, N);
    std::memcpy(field, name.data(), std::min(name.size(), N));
}

// Type names are upper-case words such as TRANSFORM or GET_CAPABIL.
bool typeName(const char* field, std::size_t size)
{
    std::size_t length = 0;
    while (length < size && field[length] != '\0') {
        const char c = field[length];
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
        ++length;
    }
    for (std::size_t i = length; i < size; ++i)
        if (field[i] != '\0')
            return false; // a name is zero-padded after its end
    return length > 0;
}

} // namespace

uint64_t timestampOf(uint32_t seconds, uint32_t nanoseconds)
{
    return (static_cast<uint64_t>(seconds) << 32) | igtl_nanosec_to_frac(nanoseconds);
}

uint64_t timestampOfMilliseconds(uint32_t milliseconds)
{
    return timestampOf(milliseconds / 1000, (milliseconds % 1000) * 1000000u);
}

void encodeTransform(std::string_view deviceName, const SensorPose& pose, uint64_t timestamp, uint8_t* out)
{
    // The body holds the upper 3x4 of the matrix column by column, then the translation.
    igtl_float32 body[12];
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            body[column * 3 + row] = static_cast<igtl_float32>(pose.rotation[row][column]);
    for (int i = 0; i < 3; ++i)
        body[9 + i] = static_cast<igtl_float32>(pose.positionMm[i]);
    igtl_transform_convert_byte_order(body);

    igtl_header header {};
    header.version = IGTL_HEADER_VERSION;
    copyName(header.name, "TRANSFORM");
    copyName(header.device_name, deviceName);
    header.timestamp = timestamp;
    header.body_size = kTransformBodySize;
    header.crc = igtl_transform_get_crc(body);
    igtl_header_convert_byte_order(&header);

    std::memcpy(out, &header, kHeaderSize);
    std::memcpy(out + kHeaderSize, body, kTransformBodySize);
}

std::vector<uint8_t> encodeStatus(StatusCode code, std::string_view deviceName, std::string_view errorName,
                                  std::string_view text, uint64_t timestamp)
{
    auto message = igtl::StatusMessage::New();
    message->SetDeviceName(std::string(deviceName.substr(0, kDeviceNameSize)).c_str());
    message->SetTimeStamp(static_cast<unsigned>(timestamp >> 32), static_cast<unsigned>(timestamp & 0xFFFFFFFFu));
    message->SetCode(static_cast<int>(code));
    message->SetSubCode(0);
    message->SetErrorName(std::string(errorName.substr(0, 19)).c_str());
    message->SetStatusString(std::string(text).c_str());
    message->Pack();
    const auto* bytes = static_cast<const uint8_t*>(message->GetPackPointer());
    return {bytes, bytes + message->GetPackSize()};
}

std::optional<MessageHeader> decodeHeader(const uint8_t* bytes)
{
    igtl_header header {};
    std::memcpy(&header, bytes, kHeaderSize);
    igtl_header_convert_byte_order(&header);
    if (!typeName(header.name, sizeof header.name))
        return std::nullopt;
    MessageHeader decoded;
    decoded.version = header.version;
    decoded.type.assign(header.name, strnlen(header.name, sizeof header.name));
    decoded.deviceName.assign(header.device_name, strnlen(header.device_name, sizeof header.device_name));
    decoded.bodySize = header.body_size;
    return decoded;
}

} // namespace vornigtl

#include "igtl_decoder.h"

#include <cstring>

namespace igtltest {

namespace {

constexpr std::size_t kHeader = 58;
constexpr uint64_t kPolynomial = 0x42F0E1EBA9EA3693ull;

uint64_t bigEndian(const uint8_t* p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    return value;
}

void putBigEndian(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::string textOf(const uint8_t* p, std::size_t size)
{
    std::size_t length = 0;
    while (length < size && p[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(p), length);
}

double floatOf(const uint8_t* p)
{
    const auto bits = static_cast<uint32_t>(bigEndian(p, 4));
    float value = 0;
    std::memcpy(&value, &bits, 4);
    return value;
}

void putName(std::vector<uint8_t>& out, const std::string& name, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        out.push_back(i < name.size() ? static_cast<uint8_t>(name[i]) : 0);
}

} // namespace

uint64_t crc64(const uint8_t* bytes, std::size_t size)
{
    uint64_t crc = 0;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= static_cast<uint64_t>(bytes[i]) << 56;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & (1ull << 63)) ? (crc << 1) ^ kPolynomial : crc << 1;
    }
    return crc;
}

std::optional<Message> takeMessage(std::vector<uint8_t>& stream)
{
    if (stream.size() < kHeader)
        return std::nullopt;
    const uint64_t bodySize = bigEndian(&stream[42], 8);
    if (stream.size() - kHeader < bodySize)
        return std::nullopt;
    Message message;
    message.version = static_cast<uint16_t>(bigEndian(&stream[0], 2));
    message.type = textOf(&stream[2], 12);
    message.deviceName = textOf(&stream[14], 20);
    message.seconds = static_cast<uint32_t>(bigEndian(&stream[34], 4));
    message.fraction = static_cast<uint32_t>(bigEndian(&stream[38], 4));
    message.crc = bigEndian(&stream[50], 8);
    message.body.assign(stream.begin() + kHeader, stream.begin() + static_cast<std::ptrdiff_t>(kHeader + bodySize));
    stream.erase(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(kHeader + bodySize));
    return message;
}

std::optional<Transform> transformOf(const Message& message)
{
    if (message.type != "TRANSFORM" || message.body.size() != 48)
        return std::nullopt;
    // Column by column: R11 R21 R31 R12 ... then the translation.
    Transform transform;
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            transform.rotation[row][column] = floatOf(&message.body[4 * (column * 3 + row)]);
    for (int i = 0; i < 3; ++i)
        transform.translation[i] = floatOf(&message.body[36 + 4 * i]);
    return transform;
}

std::optional<Status> statusOf(const Message& message)
{
    if (message.type != "STATUS" || message.body.size() < 30)
        return std::nullopt;
    Status status;
    status.code = static_cast<uint16_t>(bigEndian(&message.body[0], 2));
    status.subcode = static_cast<int64_t>(bigEndian(&message.body[2], 8));
    status.errorName = textOf(&message.body[10], 20);
    status.text = textOf(&message.body[30], message.body.size() - 30);
    return status;
}

std::vector<uint8_t> makeMessage(uint16_t version, const std::string& type, const std::string& device,
                                 const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> out;
    putBigEndian(out, version, 2);
    putName(out, type, 12);
    putName(out, device, 20);
    putBigEndian(out, 0, 8);
    putBigEndian(out, body.size(), 8);
    putBigEndian(out, crc64(body.data(), body.size()), 8);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

} // namespace igtltest

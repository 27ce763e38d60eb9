#include "protocol/word_codec.h"

namespace vorn::protocol {

void putWord(Connection connection, uint16_t value, uint8_t* out)
{
    if (connection == Connection::Rs232) {
        out[0] = static_cast<uint8_t>(value);
        out[1] = static_cast<uint8_t>(value >> 8);
    } else {
        putBigEndian16(value, out);
    }
}

uint16_t readWord(Connection connection, const uint8_t* in)
{
    if (connection == Connection::Rs232) {
        return static_cast<uint16_t>(in[0] | (in[1] << 8));
    }
    return readBigEndian16(in);
}

std::size_t packIsaWords(std::span<const uint8_t> bytes, std::span<uint16_t> words)
{
    const std::size_t count = isaWordCount(bytes.size());
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t high = bytes[2 * i];
        const uint8_t low = 2 * i + 1 < bytes.size() ? bytes[2 * i + 1] : 0;
        words[i] = static_cast<uint16_t>((high << 8) | low);
    }
    return count;
}

std::size_t unpackIsaWords(std::span<const uint16_t> words, std::span<uint8_t> bytes)
{
    for (std::size_t i = 0; i < words.size(); ++i) {
        putBigEndian16(words[i], &bytes[2 * i]);
    }
    return 2 * words.size();
}

} // namespace vorn::protocol

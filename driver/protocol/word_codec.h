// 16-bit words in each link's byte order, and the pairing of command bytes into ISA words.
#pragma once

#include "protocol/connection.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorn::protocol {

// RS232 sends a word low byte first; ISA command buffers and TCP/IP put the high byte first.
void putWord(Connection connection, uint16_t value, uint8_t* out);
uint16_t readWord(Connection connection, const uint8_t* in);

inline void putBigEndian16(uint16_t value, uint8_t* out)
{
    out[0] = static_cast<uint8_t>(value >> 8);
    out[1] = static_cast<uint8_t>(value);
}

inline uint16_t readBigEndian16(const uint8_t* in)
{
    return static_cast<uint16_t>((in[0] << 8) | in[1]);
}

inline void putBigEndian32(uint32_t value, uint8_t* out)
{
    putBigEndian16(static_cast<uint16_t>(value >> 16), out);
    putBigEndian16(static_cast<uint16_t>(value), out + 2);
}

inline uint32_t readBigEndian32(const uint8_t* in)
{
    return (uint32_t {readBigEndian16(in)} << 16) | readBigEndian16(in + 2);
}

// Words an ISA board needs for `byteCount` command bytes (an odd last byte takes a word).
constexpr std::size_t isaWordCount(std::size_t byteCount)
{
    return (byteCount + 1) / 2;
}

// Pairs bytes into ISA words, the first of each pair in the high half; an odd last byte
// goes in the high half of a last word. Writes isaWordCount(bytes.size()) words, which
// `words` must hold; returns that count.
std::size_t packIsaWords(std::span<const uint8_t> bytes, std::span<uint16_t> words);

// The board's side: each word back to two bytes, high byte first. `bytes` must hold
// 2 * words.size(); returns that count.
std::size_t unpackIsaWords(std::span<const uint16_t> words, std::span<uint8_t> bytes);

} // namespace vorn::protocol

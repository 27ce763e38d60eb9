// What a decoder says about the bytes it was given: a whole valid item, a fault, or "not yet".
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorn::protocol {

enum class DecodeStatus : uint8_t {
    Valid,    // a whole item was decoded; `length` bytes were used
    Invalid,  // the bytes cannot be this item; `fault` says why
    NeedMore, // too few bytes; `length` is how many the whole item needs
};

enum class DecodeFault : uint8_t {
    None,
    PhasingBit,    // first byte (RS232) or first word (ISA) lacks the phasing flag
    WrongTag,      // group-mode tag is not the expected address
    BadAddress,    // TCP/IP record names an address above 120
    BadDataFormat, // data format 6 or above 8
    BadRateDigits, // status block rate field holds a non-digit
};

struct DecodeResult {
    DecodeStatus status = DecodeStatus::NeedMore;
    DecodeFault fault = DecodeFault::None;
    std::size_t length = 0;

    static constexpr DecodeResult valid(std::size_t used) { return {DecodeStatus::Valid, DecodeFault::None, used}; }
    static constexpr DecodeResult needMore(std::size_t total)
    {
        return {DecodeStatus::NeedMore, DecodeFault::None, total};
    }
    static constexpr DecodeResult invalid(DecodeFault why) { return {DecodeStatus::Invalid, why, 0}; }
    constexpr bool ok() const { return status == DecodeStatus::Valid; }
};

} // namespace vorn::protocol

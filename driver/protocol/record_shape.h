// What a unit's data record holds and how long it is on each link.
#pragma once

#include "protocol/connection.h"

#include <cstddef>
#include <cstdint>

namespace vorn::protocol {

// Describes one unit's record on RS232 or ISA, where the format comes from the unit's
// configuration rather than the record itself.
struct RecordShape {
    uint8_t dataFormat = 0;
    bool button = false;   // a button value follows the words
    bool tag = false;      // group mode: an address tag follows
    bool checkTag = false; // the decoder compares the tag with `address`
    uint8_t address = 0;   // the unit's FVB address: the tag an encoder writes
};

// Longest record of any link: 12 words, a button word and a tag word.
inline constexpr std::size_t kMaxRecordBytes = 28;

// Bytes of a record: words x 2, then the button (1 byte on RS232, 2 on ISA and TCP/IP),
// then the group-mode tag (1 byte on RS232, 2 on ISA; none on TCP/IP, whose records
// start with a 2-byte address and format header instead). Invalid formats count 0 words.
std::size_t recordLength(Connection connection, const RecordShape& shape);

} // namespace vorn::protocol

#pragma once
// Turns the bytes a terminal sends for a key press into keys: plain characters and the escape
// sequences of the arrow and page keys (xterm and VT220 forms).
#include <optional>
#include <string>

#include "vorn/console/key.h"

namespace vorn::console {

struct DecodedKey {
    Key key;
    std::size_t length = 0; // bytes consumed
};

// Decodes the key at the start of `bytes`. Returns nothing when the bytes start a sequence that is
// not complete yet; `complete` says no more bytes will follow soon, so a lone ESC is a key.
std::optional<DecodedKey> decodeKey(const std::string& bytes, bool complete);

} // namespace vorn::console

// Configuration commands to one unit through its UnitLink, in the link's
// byte order, with the library's failure messages: every examine step has
// a "send" and a "get" message naming the unit ("master vorn" or "vorn #n").
#pragma once

#include "transports/unit_link.h"

#include <cstdint>
#include <initializer_list>
#include <span>

namespace vorn {

struct VornGroup;

class UnitCommands {
public:
    enum class Naming { Master, Unit };

    UnitCommands(VornGroup& group, UnitLink& link, int unit, Naming naming);

    // Examine value; `what` names the step in messages ("examine error code").
    // A word answer in the link's byte order.
    bool examineWord(uint8_t parameter, const char* what, uint16_t& value);
    // A one-byte answer (the low byte of the word an ISA board returns).
    // Also used for the filter status, of which only the low byte counts.
    bool examineByte(uint8_t parameter, const char* what, uint8_t& value);
    // The software revision: integer part, then fraction.
    bool examineRevision(const char* what, uint16_t& revision);
    // A table of words.
    bool examineWords(uint8_t parameter, const char* what, std::span<uint16_t> words);
    // Raw answer bytes (the vornset status).
    bool examineBytes(uint8_t parameter, const char* what, std::span<uint8_t> bytes);

    // Sends command bytes; `what` completes "Unable to send %s to ..."
    // (for instance "\"crt sync\" command").
    bool command(std::initializer_list<uint8_t> bytes, const char* what);
    // A command byte followed by words in the link's byte order.
    bool commandWithWords(uint8_t commandByte, std::span<const uint16_t> words, const char* what);
    // Change value with one value, as wide as the parameter takes on this link.
    bool changeValue(uint8_t parameter, uint16_t value, const char* what);
    bool changeValueWords(uint8_t parameter, std::span<const uint16_t> words, const char* what);

    int unit() const { return unit_; }

private:
    bool send(std::span<const uint8_t> bytes, const char* what);
    bool examine(uint8_t parameter, const char* what, std::span<uint8_t> answer);

    VornGroup& group_;
    UnitLink& link_;
    int unit_;
    Naming naming_;
    char name_[16]; // "master vorn" or "vorn #126"
};

} // namespace vorn

#pragma once
// What every Humgather dialogue works with: the console, the one way of asking for values, the
// serial link to the unit and the settings kept for the whole run.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <string>

#include "protocol/commands.h"
#include "vorn/console/console.h"
#include "vorn/console/value_entry.h"
#include "vorn/humgather/maker_notices.h"
#include "vorn/humgather/program_settings.h"
#include "vorn/humgather/serial_link.h"

namespace vorn::humgather {

struct Session {
    console::Console& console;
    console::ValueEntry& entry;
    SerialLink& link;
    ProgramSettings& settings;
    MakerNotices notices;
    std::filesystem::path programDirectory;

    // "HIT ANY KEY TO CONTINUE" and a key, which is discarded.
    void waitForKey();
    void printLines(std::span<const std::string> lines);
    // The FVB prefix of the current address (nothing standalone), then the bytes.
    void sendToCurrentUnit(std::initializer_list<std::uint8_t> bytes);
    void sendToCurrentUnit(std::span<const std::uint8_t> bytes);
    void sendToCurrentUnit(protocol::Command command);
    void sendPrefix();
};

// Asks for a byte value (0..255) until one is given; the prompt is repeated with a reason.
std::uint8_t askByte(Session& session, const std::string& prompt, std::int32_t current);

} // namespace vorn::humgather

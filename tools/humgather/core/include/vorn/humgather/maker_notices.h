#pragma once
// The unit maker's notices: the banner's notice line and the 47-character text the
// communications check expects in the unit's PROM. They are configuration: the environment
// variables HUMGATHER_NOTICE and HUMGATHER_PROM_TEXT, else the lines "notice=" and "prom_text=" of
// the file humgather.conf beside the program, else the defaults, which match the simulated unit.
#include <cstdint>
#include <filesystem>
#include <string>

#include "protocol/factory_commands.h"

namespace vorn::humgather {

inline constexpr std::size_t kPromTextLength = protocol::kPromNoticeLength;
inline constexpr std::uint16_t kPromTextAddress = protocol::kPromTextAddress;
inline constexpr std::size_t kPromReadLength = protocol::kPromTextLength;
inline constexpr std::size_t kPromTextOffset = kPromReadLength - kPromTextLength; // characters 15..61 read

extern const char* const kDefaultNotice;
extern const char* const kDefaultPromText;

struct MakerNotices {
    std::string notice;
    std::string promText;
};

// `programDirectory` is where humgather.conf is looked for.
MakerNotices loadMakerNotices(const std::filesystem::path& programDirectory);

// The part of the 61 PROM characters that the communications check compares.
std::string promTextPart(const std::string& promCharacters);

} // namespace vorn::humgather

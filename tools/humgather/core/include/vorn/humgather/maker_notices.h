#pragma once
// The unit maker's notices: the banner's notice line and the 47-character text the
// communications check expects in the unit's PROM. They are configuration: the environment
// variables HUMGATHER_NOTICE and HUMGATHER_PROM_TEXT, else the lines "notice=" and "prom_text=" of
// the file humgather.conf beside the program, else the defaults, which match the simulated unit.
#include <cstdint>
#include <filesystem>
#include <string>

namespace vorn::humgather {

inline constexpr std::size_t kPromTextLength = 47;
inline constexpr std::uint16_t kPromTextAddress = 8;
inline constexpr std::size_t kPromReadLength = 61;
inline constexpr std::size_t kPromTextOffset = 14;  // characters 15..61 of the text read

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

}  // namespace vorn::humgather

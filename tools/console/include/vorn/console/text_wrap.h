#pragma once
// Long messages broken between words, so no line runs past the edge of an 80-column console.
#include <cstddef>
#include <string>
#include <string_view>

namespace vorn::console {

constexpr std::size_t kConsoleTextWidth = 79;

// The text as lines of at most `width` characters joined by "\n", broken at blanks; a word longer
// than a line is cut. Line breaks already in the text are kept.
std::string wrapText(std::string_view text, std::size_t width = kConsoleTextWidth);

} // namespace vorn::console

#pragma once
// Examine value: how many bytes each parameter answers with, and what Humgather shows and keeps
// from each answer. Pure: bytes in, lines and settings out.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorn::humgather {

// Bytes the unit answers for parameter p, by the command set; `addressingAnswer` is the vornset
// configuration's answer (0 never asked, 1 normal, other expanded), which sizes system status and
// auto-configuration. Nothing for a number whose answer length is not known (data ready, 8, is
// listed without an answer): such an answer is taken as it comes, within a time-out.
std::optional<std::size_t> examineAnswerLength(int parameter, int addressingAnswer);

// Revision from the answer word: first byte the integer part, second the fraction (in tenths
// when below 10, else in hundredths): bytes 3, 67 give 3.67 and 3, 5 give 3.5.
float decodeRevision(std::uint8_t first, std::uint8_t second);

// What an examine answer shows and changes.
struct ExamineOutcome {
    std::vector<std::string> lines;
    std::vector<std::size_t> pauseAfterLine; // wait for a key after these line counts
    std::optional<float> revision;
    std::optional<int> crystalSpeedMHz;
    std::optional<float> positionScale;
    std::optional<int> groupModeFlag;
};

struct ExamineContext {
    float timerTickMicroseconds = 0.4f; // 8 / crystal speed
    int addressingAnswer = 0;
};

ExamineOutcome describeExamineAnswer(int parameter, std::span<const std::uint8_t> answer,
                                     const ExamineContext& context);

// The warning shown before system status and auto-configuration when the addressing is unknown
// (the answer is then read at its expanded length).
bool needsAddressingWarning(int parameter, int addressingAnswer);
inline constexpr const char* kAddressModeNotSetWarning =
    " ADDRESS mode has not been set yet.  Use the RS232 address menu";

} // namespace vorn::humgather

#pragma once
// The hand-over to Humsift: find its program, start it without arguments on the same terminal
// and wait until it ends. Humsift is looked for in $HUMSIFT, then beside Humgather's own program,
// then on PATH.
#include <filesystem>
#include <optional>
#include <string>

namespace vorn::humgather {

inline constexpr const char* kHumsiftProgramName = "humsift";

std::optional<std::filesystem::path> findHumsift(const std::filesystem::path& ownDirectory);

struct HandOverResult {
    bool started = false;
    int exitStatus = 0;    // valid when started
    std::string errorText; // why it could not start
};

// Starts the program and waits for it. While it runs, Ctrl-C and Ctrl-\ belong to it: Humgather
// ignores them, so ending Humsift brings the user back here rather than ending both.
HandOverResult runAndWait(const std::filesystem::path& program);

// The directory of the running program (from /proc/self/exe), empty when unknown.
std::filesystem::path ownProgramDirectory();

} // namespace vorn::humgather

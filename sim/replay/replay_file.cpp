#include "replay/replay_file.h"

#include "replay/recording_readers.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vorn::sim {

namespace {

// Larger than any session worth replaying; refuses to read a disk image by mistake.
constexpr std::uintmax_t kMaxFileBytes = 1ull << 30;

enum class Kind { Csv, Json, DataFile, Unknown };

Kind kindOf(std::string_view text)
{
    bool cutShort = false;
    for (const auto line : linesOf(text.substr(0, 4096), cutShort)) {
        if (line.empty())
            continue;
        if (line.front() == '{')
            return Kind::Json;
        if (line.front() == '#' || line.substr(0, 7) == "time_s,")
            return Kind::Csv;
        std::size_t digits = 0;
        while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9')
            ++digits;
        const auto colon = line.find(':');
        return digits > 0 && colon != std::string_view::npos && colon > digits ? Kind::DataFile : Kind::Unknown;
    }
    return Kind::Unknown;
}

} // namespace

ReplayLoad readReplayText(std::string_view text, const std::string& name)
{
    ReplayLoad load;
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        load.error = name + " is empty: nothing to replay";
        return load;
    }
    RecordedMotion motion;
    switch (kindOf(text)) {
    case Kind::Csv: motion = readCsvRecording(text); break;
    case Kind::Json: motion = readJsonRecording(text); break;
    case Kind::DataFile: motion = readDataFileRecording(text); break;
    case Kind::Unknown:
        load.error = name + " is not a recording vornsim can replay (a vornctl record or stream file, CSV or "
                            "JSON lines, or a Vornscope data file)";
        return load;
    }
    // A recording stopped before its first frame is still one; text that only starts like one is not.
    load.recognised = motion.headerRead || !motion.frames.empty();
    if (motion.frames.empty()) {
        load.error = name + ", " + motion.kind + ", holds no frames" +
                     (motion.stoppedEarly.empty() ? "" : ": " + motion.stoppedEarly);
        return load;
    }
    load.note = "replaying " + name + ", " + motion.kind + ": " + std::to_string(motion.frames.size()) +
                " frames, one every " + std::to_string(framePeriodOf(motion) * 1000.0).substr(0, 6) + " ms";
    if (!motion.stoppedEarly.empty())
        load.note += "; reading stopped early, " + motion.stoppedEarly + ", the frames before it are replayed";
    load.motion = std::move(motion);
    return load;
}

ReplayLoad loadReplayFile(const std::filesystem::path& file)
{
    ReplayLoad load;
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxFileBytes) {
        load.error = file.string() + " is larger than 1 GiB: not a recording to replay";
        return load;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(file, error)) {
        load.error = "cannot read " + file.string() + ": " +
                     (std::filesystem::is_directory(file, error) ? "it is a folder" : std::strerror(errno));
        return load;
    }
    std::stringstream text;
    text << in.rdbuf();
    return readReplayText(text.str(), file.string());
}

} // namespace vorn::sim

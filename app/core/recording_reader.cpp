#include "core/recording_reader.h"

#include "replay/recorded_motion.h"
#include "replay/replay_file.h"
#include "vorn/attitude/matrix.h"

#include <memory>

namespace vornscope {

namespace {

SensorRecord recordOf(const vorn::sim::RecordedSensor& recorded, bool timed)
{
    SensorRecord record;
    if (recorded.position) {
        record.position = *recorded.position;
        record.content |= content::kPosition;
    }
    if (recorded.angles) {
        record.angles = {recorded.angles->azimuth, recorded.angles->elevation, recorded.angles->roll};
        record.content |= content::kAngles;
    }
    if (recorded.matrix) {
        record.matrix = vorn::attitude::rowsOfMatrix(*recorded.matrix);
        record.content |= content::kMatrix;
    }
    if (recorded.quaternion) {
        record.quaternion = *recorded.quaternion;
        record.content |= content::kQuaternion;
    }
    if (timed)
        record.content |= content::kTime;
    return record;
}

} // namespace

bool isRecordingText(std::string_view text)
{
    const auto start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return false;
    text.remove_prefix(start);
    return text.front() == '#' || text.front() == '{' || text.substr(0, 7) == "time_s,";
}

ReadOutcome readRecordingText(std::string_view text, GraphData& graph)
{
    graph.clear();
    const vorn::sim::ReplayLoad load = vorn::sim::readReplayText(text, "the file");
    if (!load.motion) // a recording without frames (stopped before the first) is no error
        return load.recognised ? ReadOutcome::Complete : ReadOutcome::Unrecognised;
    const std::vector<int> addresses = vorn::sim::sensorsOf(*load.motion);
    graph.setSensorCount(static_cast<int>(std::min<std::size_t>(addresses.size(), VORN_UNIT_COUNT - 1)));
    auto frame = std::make_unique<SampleFrame>();
    for (const auto& recorded : load.motion->frames) {
        frame->clear();
        frame->time = recorded.timeS.value_or(0.0);
        for (int sensor = 1; sensor <= graph.sensorCount(); ++sensor) {
            const auto found = recorded.sensors.find(addresses[static_cast<std::size_t>(sensor - 1)]);
            if (found != recorded.sensors.end())
                frame->sensors[static_cast<std::size_t>(sensor)] = recordOf(found->second, recorded.timeS.has_value());
        }
        graph.append(*frame);
    }
    return ReadOutcome::Complete;
}

} // namespace vornscope

#include "settings/replay_setup.h"

#include <algorithm>
#include <map>
#include <memory>

namespace vorn::sim {

namespace {

class Tracks {
public:
    Tracks(const RecordedMotion& motion, bool loop) : motion_(motion), loop_(loop), sensors_(sensorsOf(motion)) {}

    // The track of the unit at `address`, or nullptr when the file has none for it.
    std::shared_ptr<const ReplayTrack> forUnit(int address)
    {
        int sensor = address;
        if (std::find(sensors_.begin(), sensors_.end(), sensor) == sensors_.end()) {
            if (address != 0 || sensors_.empty())
                return nullptr;
            sensor = sensors_.front();
        }
        auto& track = made_[sensor];
        if (!track)
            track = std::make_shared<const ReplayTrack>(trackOf(motion_, sensor, loop_));
        return track;
    }

private:
    const RecordedMotion& motion_;
    bool loop_;
    std::vector<int> sensors_;
    std::map<int, std::shared_ptr<const ReplayTrack>> made_;
};

template <typename Units> int assign(Units& units, Tracks& tracks)
{
    int replaying = 0;
    for (auto& unit : units) {
        unit.sensorModel.replay = tracks.forUnit(unit.address);
        replaying += unit.sensorModel.replay != nullptr;
    }
    return replaying;
}

} // namespace

int applyReplay(SimulatorConfig& config, const RecordedMotion& motion, bool loop)
{
    Tracks tracks(motion, loop);
    int replaying = assign(config.units, tracks);
    if (config.controller)
        replaying += assign(config.controller->units, tracks);
    if (config.isa)
        replaying += assign(config.isa->units, tracks);
    return replaying;
}

} // namespace vorn::sim

#include "core/graph_data.h"

#include <algorithm>

namespace vornscope {

void GraphData::setSensorCount(int sensors)
{
    sensorCount_ = std::clamp(sensors, 0, VORN_UNIT_COUNT - 1);
}

void GraphData::append(const SampleFrame& frame)
{
    times_.push_back(frame.time);
    for (int sensor = 1; sensor <= sensorCount_; ++sensor)
        records_.push_back(frame.sensors[static_cast<std::size_t>(sensor)]);
}

void GraphData::clear()
{
    sensorCount_ = 0;
    times_.clear();
    records_.clear();
}

} // namespace vornscope

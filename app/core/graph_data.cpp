#include "core/graph_data.h"

#include "core/huge_pages.h"

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

void GraphData::reserve(std::size_t points)
{
    times_.reserve(points);
    records_.reserve(points * static_cast<std::size_t>(sensorCount_));
    adviseHugePages(records_.data(), records_.capacity() * sizeof(SensorRecord));
}

void GraphData::appendBlank()
{
    times_.push_back(0);
    records_.resize(records_.size() + static_cast<std::size_t>(sensorCount_));
}

void GraphData::dropLast()
{
    if (times_.empty())
        return;
    times_.pop_back();
    records_.resize(records_.size() - static_cast<std::size_t>(sensorCount_));
}

void GraphData::clear()
{
    sensorCount_ = 0;
    times_.clear();
    records_.clear();
}

} // namespace vornscope

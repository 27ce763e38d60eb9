// The stored frames of a graph: every data point of the current graph, kept
// flat (one record per graph sensor per point) so 100 000 points of a few
// sensors stay compact and a column of values is a strided walk.
#pragma once

#include "core/sample_frame.h"

#include <cstddef>
#include <vector>

namespace vornscope {

class GraphData {
public:
    int sensorCount() const { return sensorCount_; }
    std::size_t count() const { return times_.size(); }
    bool empty() const { return times_.empty(); }

    // The first frame fixes the sensor count (sensors 1..count of `frame`).
    void setSensorCount(int sensors);
    // Appends sensors 1..sensorCount() of the frame.
    void append(const SampleFrame& frame);
    void clear();
    // Room for `points` points of the current sensor count.
    void reserve(std::size_t points);
    // For the file reader: a point of zeroed records to fill in place, and
    // taking the last point back.
    void appendBlank();
    void dropLast();
    double& lastTime() { return times_.back(); }
    SensorRecord* lastRecords() { return records_.data() + records_.size() - static_cast<std::size_t>(sensorCount_); }

    double time(std::size_t index) const { return times_[index]; }
    // Sensor 1..sensorCount() of point `index`.
    const SensorRecord& sensor(std::size_t index, int sensor) const
    {
        return records_[index * static_cast<std::size_t>(sensorCount_) + static_cast<std::size_t>(sensor - 1)];
    }
    // Value `axis` (0..2) of position (quantity 0) or angles (quantity 1).
    double value(std::size_t index, int sensor, int quantity, int axis) const
    {
        const SensorRecord& record = this->sensor(index, sensor);
        return quantity == 0 ? record.position[static_cast<std::size_t>(axis)]
                             : record.angles[static_cast<std::size_t>(axis)];
    }

private:
    int sensorCount_ = 0;
    std::vector<double> times_;
    std::vector<SensorRecord> records_;
};

} // namespace vornscope

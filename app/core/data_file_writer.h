// Writes data points as the line groups of Vornscope's data files:
// "<n>pos:", "<n>ang:", "<n>mat:" (three lines), "<n>quat:", "<n>but:",
// "<n>dist:", "<n>time:" per sensor and "0end-frame:" after each frame.
#pragma once

#include "core/sample_frame.h"

#include <cstdio>
#include <string>
#include <vector>

namespace vornscope {

struct FrameLineOptions {
    bool distortion = false; // write "<n>dist:" for every sensor
    bool time = false;       // write "<n>time:" for every sensor
};

// Appends the line groups of one sensor to `out`.
void appendSensorLines(std::string& out, int number, const SensorRecord& sensor, double time,
                       const FrameLineOptions& options);

// The text of one target-file frame: the given units numbered 1, 2, ...
std::string targetFrameText(const SampleFrame& frame, const std::vector<int>& units, const FrameLineOptions& options);

class GraphData;
// The text of a graph save: every stored point, sensors 1..count, with
// "<n>dist:" where the record has a distortion value and always "<n>time:".
std::string graphFileText(const GraphData& graph);

// An open data file; writing truncates an existing file.
class DataFileWriter {
public:
    DataFileWriter() = default;
    ~DataFileWriter();
    DataFileWriter(const DataFileWriter&) = delete;
    DataFileWriter& operator=(const DataFileWriter&) = delete;

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    // Writes and flushes; false when the disk refused the data.
    bool write(const std::string& text);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

} // namespace vornscope

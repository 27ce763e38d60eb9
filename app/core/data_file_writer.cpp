#include "core/data_file_writer.h"

#include "core/graph_data.h"

#include <charconv>

namespace vornscope {
namespace {

void appendValues(std::string& out, const double* values, int count)
{
    // to_chars, not printf: a decimal comma of the user's locale must not
    // reach a file that is read back with a point. The largest double in
    // fixed notation takes 309 digits, so the buffer always suffices.
    char buffer[400];
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += "  ";
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::fixed, 4);
        out.append(buffer, result.ptr);
    }
    out += '\n';
}

void appendPrefix(std::string& out, int number, const char* keyword)
{
    out += std::to_string(number);
    out += keyword;
    out += ':';
}

} // namespace

void appendSensorLines(std::string& out, int number, const SensorRecord& sensor, double time,
                       const FrameLineOptions& options)
{
    if (sensor.content & content::kPosition) {
        appendPrefix(out, number, "pos");
        appendValues(out, sensor.position.data(), 3);
    }
    if (sensor.content & content::kAngles) {
        appendPrefix(out, number, "ang");
        appendValues(out, sensor.angles.data(), 3);
    }
    if (sensor.content & content::kMatrix) {
        appendPrefix(out, number, "mat");
        for (int row = 0; row < 3; ++row)
            appendValues(out, sensor.matrix.data() + 3 * row, 3);
    }
    if (sensor.content & content::kQuaternion) {
        appendPrefix(out, number, "quat");
        appendValues(out, sensor.quaternion.data(), 4);
    }
    if (sensor.content & content::kButton) {
        appendPrefix(out, number, "but");
        const char* textOfButton = buttonText(sensor.button);
        out += *textOfButton ? textOfButton : "none";
        out += '\n';
    }
    if (options.distortion) {
        appendPrefix(out, number, "dist");
        out += std::to_string(sensor.distortion);
        out += '\n';
    }
    if (options.time) {
        appendPrefix(out, number, "time");
        appendValues(out, &time, 1);
    }
}

std::string targetFrameText(const SampleFrame& frame, const std::vector<int>& units, const FrameLineOptions& options)
{
    std::string out;
    int number = 0;
    for (int unit : units)
        appendSensorLines(out, ++number, frame.sensors[unit], frame.time, options);
    out += "0end-frame:\n";
    return out;
}

std::string graphFileText(const GraphData& graph)
{
    std::string out;
    for (std::size_t index = 0; index < graph.count(); ++index) {
        for (int number = 1; number <= graph.sensorCount(); ++number) {
            const SensorRecord& sensor = graph.sensor(index, number);
            const FrameLineOptions options {(sensor.content & content::kDistortion) != 0, true};
            appendSensorLines(out, number, sensor, graph.time(index), options);
        }
        out += "0end-frame:\n";
    }
    return out;
}

DataFileWriter::~DataFileWriter()
{
    close();
}

bool DataFileWriter::open(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    close();
    file_ = file;
    path_ = path;
    return true;
}

void DataFileWriter::close()
{
    if (file_)
        std::fclose(file_);
    file_ = nullptr;
    path_.clear();
}

bool DataFileWriter::write(const std::string& text)
{
    if (!file_)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
    return std::fflush(file_) == 0 && written;
}

} // namespace vornscope

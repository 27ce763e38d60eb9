#include "record_writer.h"

#include "frame_columns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vornctl {

namespace {

constexpr const char* kUnitsOfMeasure =
    "time_s: the frame's own time stamp in seconds (the driver library's millisecond clock); "
    "host_unix_s: the host's wall-clock time when the frame was taken, seconds since 1970-01-01 UTC; "
    "positions in inches, angles in degrees, matrix and quaternion elements as fractions of 1";

// Text printed with stdio into a string.
template <typename Print> std::string printed(Print print)
{
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    if (out == nullptr)
        return {};
    print(out);
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

double frameSeconds(const VornFrame& frame)
{
    return frame.time * 0.001;
}

} // namespace

RecordWriter::RecordWriter(OutputFormat format, RecordContext context)
    : json_(format == OutputFormat::Json), context_(std::move(context))
{
    for (const auto& unit : context_.units)
        layouts_.push_back(unit.layout);
    fields_ = fieldsOf(layouts_);
}

std::string RecordWriter::header() const
{
    return json_ ? jsonHeader() : csvHeader();
}

std::string RecordWriter::csvHeader() const
{
    return printed([this](std::FILE* out) {
        std::fprintf(out, "# %s: 1 (vornctl record)\n", kRecordTag);
        std::fprintf(out, "# started_utc: %s\n", context_.startedUtc.c_str());
        std::fprintf(out, "# link: %s\n", context_.link.c_str());
        std::fprintf(out, "# measurement_rate_hz: %.6g\n", context_.measurementRateHz);
        std::fprintf(out, "# frame_period_s: %.6f\n", framePeriodS(context_));
        for (const auto& unit : context_.units)
            std::fprintf(out, "# unit %d: data_format %s, scaling_in %u, hemisphere %s, report_rate %u, button %s\n",
                         unit.layout.address, dataFormatName(unit.layout.dataFormat), unit.layout.scaling,
                         hemisphereName(unit.hemisphere), unit.reportRate, unit.layout.button ? "on" : "off");
        std::fprintf(out, "# units_of_measure: %s\n", kUnitsOfMeasure);
        std::fputs("time_s,host_unix_s,unit", out);
        printCsvNames(out, fields_);
        std::fputc('\n', out);
    });
}

std::string RecordWriter::jsonHeader() const
{
    return printed([this](std::FILE* out) {
        // The link is free text from the command line and the environment.
        std::string link;
        for (char c : context_.link) {
            if (c == '"' || c == '\\')
                link += '\\';
            link += c < 0x20 ? ' ' : c;
        }
        std::fprintf(out,
                     "{\"%s\":1,\"started_utc\":\"%s\",\"link\":\"%s\",\"measurement_rate_hz\":%.6g,"
                     "\"frame_period_s\":%.6f,\"units\":[",
                     kRecordTag, context_.startedUtc.c_str(), link.c_str(), context_.measurementRateHz,
                     framePeriodS(context_));
        bool first = true;
        for (const auto& unit : context_.units) {
            std::fprintf(out,
                         "%s{\"unit\":%d,\"data_format\":\"%s\",\"scaling_in\":%u,\"hemisphere\":\"%s\","
                         "\"report_rate\":%u,\"button\":%s}",
                         first ? "" : ",", unit.layout.address, dataFormatName(unit.layout.dataFormat),
                         unit.layout.scaling, hemisphereName(unit.hemisphere), unit.reportRate,
                         unit.layout.button ? "true" : "false");
            first = false;
        }
        std::fprintf(out, "],\"units_of_measure\":\"%s\"}\n", kUnitsOfMeasure);
    });
}

std::string RecordWriter::frame(const VornFrame& frame, double hostUnixS) const
{
    return printed([&](std::FILE* out) {
        if (json_) {
            std::fprintf(out, "{\"time_s\":%.3f,\"host_unix_s\":%.3f,\"units\":[", frameSeconds(frame), hostUnixS);
            bool first = true;
            for (const auto& unit : layouts_) {
                std::fputs(first ? "" : ",", out);
                first = false;
                printJsonUnit(out, convert(frame.reading[unit.address], unit));
            }
            std::fputs("]}\n", out);
            return;
        }
        for (const auto& unit : layouts_) {
            std::fprintf(out, "%.3f,%.3f,%d", frameSeconds(frame), hostUnixS, unit.address);
            printCsvValues(out, fields_, convert(frame.reading[unit.address], unit));
            std::fputc('\n', out);
        }
    });
}

std::string RecordWriter::gapLost(double lastTimeS, double hostUnixS, int errorCode) const
{
    return printed([&](std::FILE* out) {
        if (json_)
            std::fprintf(out, "{\"%s\":\"lost\",\"time_s\":%.3f,\"host_unix_s\":%.3f,\"error_code\":%d}\n", kGapTag,
                         lastTimeS, hostUnixS, errorCode);
        else
            std::fprintf(out, "# %s: lost after time_s %.3f at host_unix_s %.3f, error code %d\n", kGapTag, lastTimeS,
                         hostUnixS, errorCode);
    });
}

std::string RecordWriter::gapBack(double hostUnixS, int attempts) const
{
    return printed([&](std::FILE* out) {
        if (json_)
            std::fprintf(out, "{\"%s\":\"back\",\"host_unix_s\":%.3f,\"attempts\":%d}\n", kGapTag, hostUnixS, attempts);
        else
            std::fprintf(out, "# %s: back at host_unix_s %.3f after %d wake-up attempt(s)\n", kGapTag, hostUnixS,
                         attempts);
    });
}

double framePeriodS(const RecordContext& context)
{
    // A frame of the group comes as often as its slowest unit reports.
    int reportRate = 1;
    for (const auto& unit : context.units)
        reportRate = std::max<int>(reportRate, unit.reportRate);
    return context.measurementRateHz > 0 ? reportRate / context.measurementRateHz : 0.0;
}

std::string utcText(double unixSeconds)
{
    const auto whole = static_cast<time_t>(std::floor(unixSeconds));
    const int milliseconds = std::min(999, static_cast<int>((unixSeconds - static_cast<double>(whole)) * 1000.0));
    tm parts {};
    gmtime_r(&whole, &parts);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec, milliseconds);
    return text;
}

double hostUnixSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

} // namespace vornctl

#include "frame_writer.h"

#include "frame_columns.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vornctl {

namespace {

double seconds(uint32_t milliseconds)
{
    return milliseconds * 0.001;
}

class WriterBase : public FrameWriter {
protected:
    WriterBase(std::FILE* out, std::vector<UnitLayout> units, bool hostTime)
        : out_(out), units_(std::move(units)), fields_(fieldsOf(units_)), hostTime_(hostTime)
    {
    }
    Measurement measurementOf(const VornFrame& frame, const UnitLayout& unit) const
    {
        return convert(frame.reading[unit.address], unit);
    }

    std::FILE* out_;
    std::vector<UnitLayout> units_;
    FieldSet fields_;
    bool hostTime_;
};

class CsvWriter : public WriterBase {
public:
    CsvWriter(std::FILE* out, std::vector<UnitLayout> units, bool hostTime)
        : WriterBase(out, std::move(units), hostTime)
    {
        std::fputs(hostTime_ ? "time_s,host_time_s,unit" : "time_s,unit", out_);
        printCsvNames(out_, fields_);
        std::fputc('\n', out_);
    }

    void write(const VornFrame& frame, uint32_t hostMs) override
    {
        for (const auto& unit : units_) {
            std::fprintf(out_, "%.3f", seconds(frame.time));
            if (hostTime_)
                std::fprintf(out_, ",%.3f", seconds(hostMs));
            std::fprintf(out_, ",%d", unit.address);
            printCsvValues(out_, fields_, measurementOf(frame, unit));
            std::fputc('\n', out_);
        }
    }
};

class JsonWriter : public WriterBase {
public:
    JsonWriter(std::FILE* out, std::vector<UnitLayout> units, bool hostTime)
        : WriterBase(out, std::move(units), hostTime)
    {
    }

    void write(const VornFrame& frame, uint32_t hostMs) override
    {
        std::fprintf(out_, "{\"time_s\":%.3f", seconds(frame.time));
        if (hostTime_)
            std::fprintf(out_, ",\"host_time_s\":%.3f", seconds(hostMs));
        std::fputs(",\"units\":[", out_);
        bool firstUnit = true;
        for (const auto& unit : units_) {
            std::fputs(firstUnit ? "" : ",", out_);
            firstUnit = false;
            printJsonUnit(out_, measurementOf(frame, unit));
        }
        std::fputs("]}\n", out_);
    }
};

std::string cell(const char* pattern, auto... values)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

class TableWriter : public WriterBase {
public:
    TableWriter(std::FILE* out, std::vector<UnitLayout> units, const WriterSetup& setup)
        : WriterBase(out, std::move(units), setup.hostTime), live_(setup.live), terminal_(setup.terminal)
    {
        if (!live_)
            std::fprintf(out_, "%s\n", header().c_str());
    }

    void write(const VornFrame& frame, uint32_t hostMs) override
    {
        ++frames_;
        if (!live_) {
            for (const auto& unit : units_)
                std::fprintf(out_, "%s\n", row(frame, hostMs, unit).c_str());
            return;
        }
        // A terminal cannot show more than a few redraws a second usefully.
        last_ = frame;
        lastHostMs_ = hostMs;
        haveLast_ = true;
        if (drawnLines_ > 0 && frame.time - drawnAt_ < 100)
            return;
        redraw(frame, hostMs);
    }

    void finish() override
    {
        if (live_ && haveLast_)
            redraw(last_, lastHostMs_);
    }

private:
    // Each column as wide as its name, and at least as a value such as -179.999.
    static int widthOf(const char* name) { return std::max<int>(static_cast<int>(std::strlen(name)), 8); }

    std::string header() const
    {
        std::string line = cell("%9s", "time_s");
        if (hostTime_)
            line += cell(" %9s", "host_s");
        line += cell(" %4s", "unit");
        forEachColumn(fields_, Measurement {},
                      [&](const char* name, bool, double, int) { line += cell(" %*s", widthOf(name), name); });
        return line;
    }

    std::string row(const VornFrame& frame, uint32_t hostMs, const UnitLayout& unit) const
    {
        std::string line = cell("%9.3f", seconds(frame.time));
        if (hostTime_)
            line += cell(" %9.3f", seconds(hostMs));
        line += cell(" %4d", unit.address);
        forEachColumn(fields_, measurementOf(frame, unit), [&](const char* name, bool present, double v, int decimals) {
            line += present ? cell(" %*.*f", widthOf(name), decimals, v) : cell(" %*s", widthOf(name), "");
        });
        return line;
    }

    // A line that fits the terminal's width, so that it takes one row.
    std::string clipped(std::string line) const
    {
        const auto limit = static_cast<std::size_t>(terminal_.columns > 1 ? terminal_.columns - 1 : 0);
        if (limit > 0 && line.size() > limit) {
            line.resize(limit - 1);
            line += '>';
        }
        return line;
    }

    void redraw(const VornFrame& frame, uint32_t hostMs)
    {
        // Back to the start of the previous drawing (after a ^C echo too).
        if (drawnLines_ > 0)
            std::fprintf(out_, "\r\x1b[%zuA", drawnLines_);
        // Header and status line, and as many units as the rows allow.
        std::size_t shown = units_.size();
        if (terminal_.rows > 0)
            shown = std::min(shown, static_cast<std::size_t>(std::max(terminal_.rows - 3, 1)));
        std::fprintf(out_, "\x1b[2K%s\n", clipped(header()).c_str());
        for (std::size_t i = 0; i < shown; ++i)
            std::fprintf(out_, "\x1b[2K%s\n", clipped(row(frame, hostMs, units_[i])).c_str());
        std::string status = std::to_string(frames_) + " frames";
        if (shown < units_.size())
            status +=
                "; " + std::to_string(units_.size() - shown) + " more unit(s) below the window (-o csv shows all)";
        if (header().size() > clipped(header()).size())
            status += "; columns cut at the window's edge";
        std::fprintf(out_, "\x1b[2K%s\n", clipped(status).c_str());
        drawnLines_ = shown + 2;
        drawnAt_ = frame.time;
    }

    bool live_;
    TerminalSize terminal_;
    std::size_t drawnLines_ = 0;
    bool haveLast_ = false;
    uint32_t drawnAt_ = 0;
    uint32_t lastHostMs_ = 0;
    unsigned long long frames_ = 0;
    VornFrame last_ {};
};

} // namespace

std::unique_ptr<FrameWriter> makeFrameWriter(OutputFormat format, std::FILE* out, std::vector<UnitLayout> units,
                                             WriterSetup setup)
{
    switch (format) {
    case OutputFormat::Csv: return std::make_unique<CsvWriter>(out, std::move(units), setup.hostTime);
    case OutputFormat::Json: return std::make_unique<JsonWriter>(out, std::move(units), setup.hostTime);
    case OutputFormat::Auto:
    case OutputFormat::Table: break;
    }
    return std::make_unique<TableWriter>(out, std::move(units), setup);
}

} // namespace vornctl

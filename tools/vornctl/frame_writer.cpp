#include "frame_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace vornctl {

namespace {

constexpr const char* kPositionNames[] = {"x_in", "y_in", "z_in"};
constexpr const char* kAngleNames[] = {"azimuth_deg", "elevation_deg", "roll_deg"};
constexpr const char* kMatrixNames[] = {"m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
constexpr const char* kQuaternionNames[] = {"q0", "q1", "q2", "q3"};

double seconds(uint32_t milliseconds)
{
    return milliseconds * 0.001;
}

// Walks the columns of one measurement in a fixed order; `present` is false
// for a column that this unit's format lacks but another unit's has.
template <typename Visit>
void forEachColumn(const FieldSet& fields, const Measurement& m, Visit visit)
{
    if (fields.position)
        for (int i = 0; i < 3; ++i)
            visit(kPositionNames[i], m.hasPosition, m.positionIn[i], 3);
    if (fields.angles)
        for (int i = 0; i < 3; ++i)
            visit(kAngleNames[i], m.hasAngles, m.anglesDeg[i], 3);
    if (fields.matrix)
        for (int i = 0; i < 9; ++i)
            visit(kMatrixNames[i], m.hasMatrix, m.matrix[i], 5);
    if (fields.quaternion)
        for (int i = 0; i < 4; ++i)
            visit(kQuaternionNames[i], m.hasQuaternion, m.quaternion[i], 5);
    if (fields.button)
        visit("button", m.hasButton, static_cast<double>(m.button), 0);
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
        forEachColumn(fields_, Measurement {}, [this](const char* name, bool, double, int) {
            std::fprintf(out_, ",%s", name);
        });
        std::fputc('\n', out_);
    }

    void write(const VornFrame& frame, uint32_t hostMs) override
    {
        for (const auto& unit : units_) {
            std::fprintf(out_, "%.3f", seconds(frame.time));
            if (hostTime_)
                std::fprintf(out_, ",%.3f", seconds(hostMs));
            std::fprintf(out_, ",%d", unit.address);
            forEachColumn(fields_, measurementOf(frame, unit), [this](const char*, bool present, double v, int decimals) {
                if (present)
                    std::fprintf(out_, ",%.*f", decimals, v);
                else
                    std::fputc(',', out_);
            });
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
            const Measurement m = measurementOf(frame, unit);
            std::fprintf(out_, "%s{\"unit\":%d", firstUnit ? "" : ",", unit.address);
            firstUnit = false;
            if (m.hasPosition)
                array("position_in", m.positionIn.data(), 3, 3);
            if (m.hasAngles)
                array("angles_deg", m.anglesDeg.data(), 3, 3);
            if (m.hasMatrix)
                array("matrix", m.matrix.data(), 9, 5);
            if (m.hasQuaternion)
                array("quaternion", m.quaternion.data(), 4, 5);
            if (m.hasButton)
                std::fprintf(out_, ",\"button\":%u", m.button);
            std::fputc('}', out_);
        }
        std::fputs("]}\n", out_);
    }

private:
    void array(const char* name, const double* values, int n, int decimals)
    {
        std::fprintf(out_, ",\"%s\":[", name);
        for (int i = 0; i < n; ++i)
            std::fprintf(out_, "%s%.*f", i == 0 ? "" : ",", decimals, values[i]);
        std::fputc(']', out_);
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
        forEachColumn(fields_, Measurement {}, [&](const char* name, bool, double, int) {
            line += cell(" %*s", widthOf(name), name);
        });
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
            status += "; " + std::to_string(units_.size() - shown) + " more unit(s) below the window (-o csv shows all)";
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

#include "frame_writer.h"

#include <string>

namespace vornctl {

namespace {

constexpr const char* kPositionNames[] = {"x_in", "y_in", "z_in"};
constexpr const char* kAngleNames[] = {"azimuth_deg", "elevation_deg", "roll_deg"};
constexpr const char* kMatrixNames[] = {"m11", "m12", "m13", "m21", "m22", "m23", "m31", "m32", "m33"};
constexpr const char* kQuaternionNames[] = {"q0", "q1", "q2", "q3"};

double seconds(const VornFrame& frame)
{
    return frame.time * 0.001;
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
    WriterBase(std::FILE* out, std::vector<UnitLayout> units)
        : out_(out), units_(std::move(units)), fields_(fieldsOf(units_))
    {
    }
    Measurement measurementOf(const VornFrame& frame, const UnitLayout& unit) const
    {
        return convert(frame.reading[unit.address], unit);
    }

    std::FILE* out_;
    std::vector<UnitLayout> units_;
    FieldSet fields_;
};

class CsvWriter : public WriterBase {
public:
    CsvWriter(std::FILE* out, std::vector<UnitLayout> units) : WriterBase(out, std::move(units))
    {
        std::fputs("time_s,unit", out_);
        forEachColumn(fields_, Measurement {}, [this](const char* name, bool, double, int) {
            std::fprintf(out_, ",%s", name);
        });
        std::fputc('\n', out_);
    }

    void write(const VornFrame& frame) override
    {
        for (const auto& unit : units_) {
            std::fprintf(out_, "%.3f,%d", seconds(frame), unit.address);
            forEachColumn(fields_, measurementOf(frame, unit), [this](const char*, bool present, double v, int decimals) {
                if (present)
                    std::fprintf(out_, ",%.*f", decimals, v);
                else
                    std::fputc(',', out_);
            });
            std::fputc('\n', out_);
        }
        std::fflush(out_);
    }
};

class JsonWriter : public WriterBase {
public:
    JsonWriter(std::FILE* out, std::vector<UnitLayout> units) : WriterBase(out, std::move(units)) {}

    void write(const VornFrame& frame) override
    {
        std::fprintf(out_, "{\"time_s\":%.3f,\"units\":[", seconds(frame));
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
        std::fflush(out_);
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

class TableWriter : public WriterBase {
public:
    TableWriter(std::FILE* out, std::vector<UnitLayout> units, bool live)
        : WriterBase(out, std::move(units)), live_(live)
    {
        if (!live_)
            header();
    }

    void write(const VornFrame& frame) override
    {
        ++frames_;
        if (!live_) {
            rows(frame);
            std::fflush(out_);
            return;
        }
        // A terminal cannot show more than a few redraws a second usefully.
        last_ = frame;
        haveLast_ = true;
        if (drawn_ && frame.time - drawnAt_ < 100)
            return;
        redraw(frame);
    }

    void finish() override
    {
        if (live_ && haveLast_)
            redraw(last_);
    }

private:
    void header()
    {
        std::fprintf(out_, "%9s %4s", "time_s", "unit");
        forEachColumn(fields_, Measurement {}, [this](const char* name, bool, double, int) {
            std::fprintf(out_, " %13s", name);
        });
        std::fputc('\n', out_);
    }

    void rows(const VornFrame& frame)
    {
        for (const auto& unit : units_)
            row(frame, unit);
    }

    void row(const VornFrame& frame, const UnitLayout& unit)
    {
        std::fprintf(out_, "%9.3f %4d", seconds(frame), unit.address);
        forEachColumn(fields_, measurementOf(frame, unit), [this](const char*, bool present, double v, int decimals) {
            if (present)
                std::fprintf(out_, " %13.*f", decimals, v);
            else
                std::fprintf(out_, " %13s", "");
        });
        std::fputc('\n', out_);
    }

    void redraw(const VornFrame& frame)
    {
        // Move back over the previous drawing: header, units, status line.
        if (drawn_)
            std::fprintf(out_, "\x1b[%zuA", units_.size() + 2);
        std::fputs("\x1b[2K", out_);
        header();
        for (const auto& unit : units_) {
            std::fputs("\x1b[2K", out_);
            row(frame, unit);
        }
        std::fprintf(out_, "\x1b[2K%llu frames\n", static_cast<unsigned long long>(frames_));
        std::fflush(out_);
        drawn_ = true;
        drawnAt_ = frame.time;
    }

    bool live_;
    bool drawn_ = false;
    bool haveLast_ = false;
    uint32_t drawnAt_ = 0;
    unsigned long long frames_ = 0;
    VornFrame last_ {};
};

} // namespace

std::unique_ptr<FrameWriter> makeFrameWriter(OutputFormat format, std::FILE* out, std::vector<UnitLayout> units,
                                             bool live)
{
    switch (format) {
    case OutputFormat::Csv: return std::make_unique<CsvWriter>(out, std::move(units));
    case OutputFormat::Json: return std::make_unique<JsonWriter>(out, std::move(units));
    case OutputFormat::Auto:
    case OutputFormat::Table: break;
    }
    return std::make_unique<TableWriter>(out, std::move(units), live);
}

} // namespace vornctl

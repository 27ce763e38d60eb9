#include "config_printer.h"

#include "measurement.h"
#include "options.h"

#include <string>

namespace vornctl {

namespace {

std::string revisionText(uint16_t revision)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", revision >> 8, revision & 0xFFu);
    return text;
}

const char* yesNo(bool value)
{
    return value ? "yes" : "no";
}

std::string filterText(uint8_t setup)
{
    std::string text;
    if (setup & 1)
        text += "dc, ";
    if (setup & 2)
        text += "wide notch, ";
    if (setup & 4)
        text += "narrow notch, ";
    if (text.empty())
        return "none";
    text.resize(text.size() - 2);
    return text;
}

std::string unitStatusText(uint8_t status)
{
    std::string text;
    text += status & 0x80 ? "accessible" : "not accessible";
    if (status & 0x40)
        text += ", running";
    if (status & 0x20)
        text += ", sensor";
    if (status & 0x01)
        text += status & 0x10 ? ", extended-range transmitter" : ", standard transmitter";
    return text;
}

// Alpha tables hold fractions of 1 times 32768; Vm constants are plain.
void printTable(std::FILE* out, const char* name, const uint16_t* values, bool fractions)
{
    std::fprintf(out, "  %-18s", name);
    for (int i = 0; i < VORN_FILTER_ENTRIES; ++i) {
        if (fractions)
            std::fprintf(out, " %6.3f", values[i] / 32768.0);
        else
            std::fprintf(out, " %6u", values[i]);
    }
    std::fputc('\n', out);
}

void printAngles(std::FILE* out, const char* name, const int16_t* values)
{
    std::fprintf(out, "  %-18s %.2f %.2f %.2f deg\n", name, degreesOf(values[0]), degreesOf(values[1]),
                 degreesOf(values[2]));
}

// JSON members written one after another, commas handled.
class JsonObject {
public:
    JsonObject(std::FILE* out, const char* open = "{") : out_(out) { std::fputs(open, out_); }

    void text(const char* name, const std::string& value)
    {
        key(name);
        std::fprintf(out_, "\"%s\"", value.c_str());
    }
    void number(const char* name, double value, int decimals = 0)
    {
        key(name);
        std::fprintf(out_, "%.*f", decimals, value);
    }
    void flag(const char* name, bool value)
    {
        key(name);
        std::fputs(value ? "true" : "false", out_);
    }
    template <typename T> void numbers(const char* name, const T* values, int n, double scale = 1.0, int decimals = 0)
    {
        key(name);
        for (int i = 0; i < n; ++i)
            std::fprintf(out_, "%s%.*f", i == 0 ? "[" : ",", decimals, values[i] * scale);
        std::fputc(']', out_);
    }
    std::FILE* member(const char* name)
    {
        key(name);
        return out_;
    }

private:
    void key(const char* name)
    {
        std::fprintf(out_, "%s\"%s\":", first_ ? "" : ",", name);
        first_ = false;
    }

    std::FILE* out_;
    bool first_ = true;
};

void systemJson(std::FILE* out, const VornSystemConfig& config, bool standAlone)
{
    JsonObject system(out);
    system.text("software_revision", revisionText(config.softwareRevision));
    system.number("measurement_rate_hz", config.measurementRate, 3);
    system.number("units", config.numberOfUnits);
    system.flag("running", config.systemStatus & 0x80);
    system.flag("error", config.systemStatus & 0x40);
    system.number("error_code", config.errorCode);
    system.flag("crt_sync", config.systemStatus & 1);
    system.number("crystal_speed_mhz", config.crystalSpeed);
    system.number("transmitter_unit", config.transmitter >> 4);
    system.number("transmitter", config.transmitter & 3u);
    std::FILE* list = system.member("unit_status");
    const int first = standAlone ? 0 : 1;
    const int last = standAlone ? 0 : config.numberOfUnits;
    std::fputc('[', list);
    for (int address = first; address <= last && address < VORN_UNIT_COUNT; ++address)
        std::fprintf(list, "%s{\"unit\":%d,\"status\":\"%s\"}", address == first ? "" : ",", address,
                     unitStatusText(config.unitStatus[address]).c_str());
    std::fputs("]}", out);
}

void deviceJson(std::FILE* out, int address, const VornDeviceConfig& config)
{
    JsonObject unit(out);
    unit.number("unit", address);
    unit.text("software_revision", revisionText(config.softwareRevision));
    unit.flag("running", config.status & 0x40);
    unit.flag("error", config.status & 0x80);
    unit.number("error_code", config.errorCode);
    unit.flag("sensor", config.status & 0x04);
    unit.flag("transmitter", config.status & 0x02);
    unit.flag("transmitter_active", config.status & 0x01);
    unit.text("data_format", dataFormatName(config.dataFormat));
    unit.number("report_rate", config.reportRate);
    unit.number("scaling_in", config.scaling);
    unit.text("hemisphere", hemisphereName(config.hemisphere));
    unit.text("filters", filterText(config.setup));
    unit.flag("button_data", config.setup & 0x08);
    unit.flag("xyz_reference", config.setup & 0x10);
    unit.flag("output_lock", config.setup & 0x20);
    unit.numbers("alpha_min", config.alphaMin, VORN_FILTER_ENTRIES, 1.0 / 32768.0, 5);
    unit.numbers("alpha_max", config.alphaMax, VORN_FILTER_ENTRIES, 1.0 / 32768.0, 5);
    unit.numbers("vm", config.vm, VORN_FILTER_ENTRIES);
    unit.numbers("reference_frame_deg", config.referenceFrame, 3, 180.0 / 32767.0, 2);
    unit.numbers("angle_align_deg", config.angleAlign, 3, 180.0 / 32767.0, 2);
    std::fputc('}', out);
}

} // namespace

void printConfigurationJson(std::FILE* out, const VornSystemConfig& system, bool standAlone,
                            const std::vector<int>& addresses,
                            const std::function<const VornDeviceConfig&(int)>& deviceOf)
{
    JsonObject all(out);
    systemJson(all.member("system"), system, standAlone);
    std::FILE* units = all.member("units");
    std::fputc('[', units);
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        if (i > 0)
            std::fputc(',', units);
        deviceJson(units, addresses[i], deviceOf(addresses[i]));
    }
    std::fputs("]}\n", out);
}

void printSystemConfig(std::FILE* out, const VornSystemConfig& config, bool standAlone)
{
    std::fprintf(out, "System\n");
    std::fprintf(out, "  %-18s %s\n", "software revision", revisionText(config.softwareRevision).c_str());
    std::fprintf(out, "  %-18s %.3f Hz\n", "measurement rate", config.measurementRate);
    std::fprintf(out, "  %-18s %u\n", "units", config.numberOfUnits);
    std::fprintf(out, "  %-18s %s\n", "running", yesNo(config.systemStatus & 0x80));
    std::fprintf(out, "  %-18s %s (code %u)\n", "error", yesNo(config.systemStatus & 0x40), config.errorCode);
    std::fprintf(out, "  %-18s %s\n", "crt sync",
                 config.systemStatus & 1 ? (config.systemStatus & 2 ? "on (type 2)" : "on") : "off");
    if (config.crystalSpeed != 0)
        std::fprintf(out, "  %-18s %u MHz\n", "crystal speed", config.crystalSpeed);
    if (config.transmitter != 0)
        std::fprintf(out, "  %-18s unit %u, transmitter %u\n", "transmitter", config.transmitter >> 4,
                     config.transmitter & 3u);
    const int first = standAlone ? 0 : 1;
    const int last = standAlone ? 0 : config.numberOfUnits;
    for (int address = first; address <= last && address < VORN_UNIT_COUNT; ++address)
        std::fprintf(out, "  unit %-13d %s\n", address, unitStatusText(config.unitStatus[address]).c_str());
}

void printDeviceConfig(std::FILE* out, int address, const VornDeviceConfig& config)
{
    std::fprintf(out, "Unit %d\n", address);
    std::fprintf(out, "  %-18s %s\n", "software revision", revisionText(config.softwareRevision).c_str());
    std::fprintf(out, "  %-18s %s\n", "running", yesNo(config.status & 0x40));
    std::fprintf(out, "  %-18s %s (code %u)\n", "error", yesNo(config.status & 0x80), config.errorCode);
    std::fprintf(out, "  %-18s %s\n", "sensor", yesNo(config.status & 0x04));
    std::fprintf(out, "  %-18s %s%s\n", "transmitter", yesNo(config.status & 0x02),
                 config.status & 0x01 ? " (active)" : "");
    std::fprintf(out, "  %-18s %s\n", "data format", dataFormatName(config.dataFormat));
    std::fprintf(out, "  %-18s every %u cycle(s)\n", "report rate", config.reportRate);
    std::fprintf(out, "  %-18s %u in\n", "scaling", config.scaling);
    std::fprintf(out, "  %-18s %s\n", "hemisphere", hemisphereName(config.hemisphere));
    std::fprintf(out, "  %-18s %s\n", "filters", filterText(config.setup).c_str());
    std::fprintf(out, "  %-18s %s\n", "button data", yesNo(config.setup & 0x08));
    std::fprintf(out, "  %-18s %s\n", "xyz reference", yesNo(config.setup & 0x10));
    std::fprintf(out, "  %-18s %s\n", "output lock", yesNo(config.setup & 0x20));
    printTable(out, "alpha min", config.alphaMin, true);
    printTable(out, "alpha max", config.alphaMax, true);
    printTable(out, "vm", config.vm, false);
    printAngles(out, "reference frame", config.referenceFrame);
    printAngles(out, "angle align", config.angleAlign);
}

} // namespace vornctl

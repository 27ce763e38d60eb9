#include "scan_report.h"

#include "protocol/unit_status.h"

namespace vornctl {

namespace {

namespace vp = vorn::protocol;

constexpr int kDeviceWidth = 20;

const char* addressingName(uint8_t mode)
{
    switch (mode) {
    case 1: return "expanded";
    case 2: return "super-exp.";
    default: return "normal";
    }
}

std::string revisionText(uint16_t revision)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%02u", revision >> 8, revision & 0xFF);
    return text;
}

std::string statusOf(uint8_t statusByte)
{
    std::string text = (statusByte & vp::unit_status::kRunning) != 0 ? "running" : "not running";
    if (!vp::hasSensor(statusByte))
        text += ", no sensor";
    return text;
}

// The device column; a long name gets a line of its own.
void printDevice(std::FILE* out, const std::string& device)
{
    if (static_cast<int>(device.size()) <= kDeviceWidth)
        std::fprintf(out, "%-*s ", kDeviceWidth, device.c_str());
    else
        std::fprintf(out, "%s\n%-*s ", device.c_str(), kDeviceWidth, "");
}

// The vornctl options that reach what was found on the port.
std::string reachLine(const Candidate& port, const PortFinding& finding)
{
    // A COM number where one names the port, else the device (its stable by-id name if it has one).
    const std::string given = port.comPort ? std::to_string(*port.comPort) : port.byId.empty() ? port.path : port.byId;
    if (!finding.master)
        return "a unit behind a master on a line of its own: give " + given +
               " at its address in the master's --port list";
    std::string line = "vornctl info ";
    if (finding.units.empty()) {
        line += "-s -p " + given;
    } else {
        line += "-p " + given;
        for (std::size_t i = 1; i < finding.units.size(); ++i)
            line += ",0";
        line += " -n " + std::to_string(finding.units.size());
    }
    if (finding.baud != 115200)
        line += " -b " + std::to_string(finding.baud);
    return line;
}

} // namespace

std::string unitsText(const std::vector<BusUnit>& units)
{
    // Units of the same status in one group: "1 (master), 2, 3 running".
    std::string text;
    std::size_t i = 0;
    while (i < units.size()) {
        const std::string status = statusOf(units[i].statusByte);
        std::string group;
        for (; i < units.size() && statusOf(units[i].statusByte) == status; ++i)
            group += (group.empty() ? "" : ",") + std::to_string(units[i].address);
        text += (text.empty() ? "" : "; ") + group + " " + status;
    }
    return text;
}

void printScanHeader(std::FILE* out)
{
    std::fprintf(out, "%-*s %-7s %-5s %-4s %-10s %s\n", kDeviceWidth, "DEVICE", "BAUD", "REV", "MHZ", "ADDRESSING",
                 "UNITS");
}

void printPortRow(std::FILE* out, const Candidate& port, const PortFinding& finding)
{
    printDevice(out, port.comPort ? port.path + " (COM" + std::to_string(*port.comPort) + ")" : port.path);
    if (finding.outcome != PortFinding::Outcome::Found) {
        std::fprintf(out, "%s\n", finding.reason.c_str());
    } else {
        const std::string units =
            finding.master && finding.units.empty() ? "stand-alone unit" : unitsText(finding.units);
        std::fprintf(out, "%-7u %-5s %-4u %-10s %s\n", finding.baud, revisionText(finding.revision).c_str(),
                     finding.crystalMHz, addressingName(finding.addressingMode),
                     finding.master ? units.c_str() : "behind a master");
        if (!finding.model.empty())
            std::fprintf(out, "  model %s\n", finding.model.c_str());
        std::fprintf(out, "  %s\n", reachLine(port, finding).c_str());
    }
    if (!port.byId.empty())
        std::fprintf(out, "  by-id: %s\n", port.byId.c_str());
}

void printControllerRow(std::FILE* out, const ControllerFinding& finding)
{
    printDevice(out, "tcpip " + finding.server);
    if (!finding.found) {
        std::fprintf(out, "%s\n", finding.reason.c_str());
        return;
    }
    std::vector<BusUnit> units;
    for (int address = 1; address <= finding.system.numberOfUnits && address < VORN_UNIT_COUNT; ++address)
        units.push_back({address, finding.system.unitStatus[address]});
    std::fprintf(out, "%-7s %-5s %-4s %-10s %s\n", "-", revisionText(finding.system.softwareRevision).c_str(), "-", "-",
                 unitsText(units).c_str());
    std::fprintf(out, "  vornctl info -t %s\n", finding.server.c_str());
}

} // namespace vornctl

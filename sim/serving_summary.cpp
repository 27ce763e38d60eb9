#include "serving_summary.h"

#include <algorithm>
#include <cstdio>

namespace vorn::sim {

namespace {

// The units as vornctl's --port list names them: the COM port of each unit by address,
// 0 for a unit reached through the master.
std::string portList(const std::vector<UnitConfig>& units, const std::vector<EnvAssignment>& lines)
{
    std::string list;
    for (const UnitConfig& unit : units) {
        const auto line =
            std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.unit == unit.address; });
        list += (list.empty() ? "" : ",") + std::to_string(line != lines.end() ? line->port : 0);
    }
    return list;
}

std::string whereUnitsAre(const std::vector<UnitConfig>& units, const std::vector<EnvAssignment>& lines)
{
    if (units.size() == 1 && units.front().address == 0) {
        return "one stand-alone unit on COM" + std::to_string(lines.front().port);
    }
    std::string text = "a vornset of " + std::to_string(units.size()) + " unit(s):";
    std::string behind;
    for (const UnitConfig& unit : units) {
        const auto line =
            std::find_if(lines.begin(), lines.end(), [&](const auto& l) { return l.unit == unit.address; });
        if (line != lines.end()) {
            text += " unit " + std::to_string(unit.address) + " on COM" + std::to_string(line->port) + ",";
        } else {
            behind += (behind.empty() ? " " : ", ") + std::to_string(unit.address);
        }
    }
    text.pop_back();
    if (!behind.empty()) {
        text += "; unit(s)" + behind + " behind the master on the FVB";
    }
    return text;
}

// The boards as vornctl's --isa list names them, by unit address, master first.
std::string boardList(const IsaConfig& isa)
{
    std::vector<IsaUnitConfig> units = isa.units;
    std::sort(units.begin(), units.end(), [](const auto& a, const auto& b) { return a.address < b.address; });
    std::string list;
    for (const IsaUnitConfig& unit : units)
        list += (list.empty() ? "" : ",") + baseText(unit.base);
    return units.size() == 1 && units.front().address == 0 ? list + " -s" : list;
}

} // namespace

std::string servingSummary(const Simulator& simulator)
{
    std::vector<UnitConfig> units = simulator.config().units;
    std::sort(units.begin(), units.end(), [](const auto& a, const auto& b) { return a.address < b.address; });
    const std::vector<EnvAssignment> lines = simulator.envAssignments();
    const bool standAlone = units.size() == 1 && units.front().address == 0;
    std::string text = "vornsim: serving " + whereUnitsAre(units, lines) + ".\n";
    text += "vornsim: programs open COM<n> through the VORN_... variables above: set them in the shell that\n"
            "vornsim: runs the program (or start vornsim with --env-file FILE, then: set -a; . FILE; set +a),\n";
    text += "vornsim: then try: vornctl info -p " + portList(units, lines) +
            (standAlone ? " -s" : " -n " + std::to_string(units.size())) + "\n";
    if (simulator.controller() != nullptr) {
        const std::string port = std::to_string(simulator.controller()->port());
        text += "vornsim: networked controller of " + std::to_string(simulator.config().controller->units.size()) +
                " unit(s) at 127.0.0.1 port " + port + ": vornctl info --tcpip 127.0.0.1:" + port + "\n";
    }
    if (simulator.portIo() != nullptr) {
        text += "vornsim: ISA boards behind the port-I/O socket " + simulator.portIo()->path().string() +
                ": with VORN_PORTIO set, vornctl info --isa " + boardList(*simulator.config().isa) + "\n";
    }
    text += "vornsim: stop with Ctrl+C.\n";
    return text;
}

} // namespace vorn::sim

// vorn_soak: streams from the simulator over one link, or each in turn, while the simulator
// commits faults on a random schedule; prints a table row per link and fails when a good frame
// carried a reading the unit never sent, a failure had the wrong code, a call hung, or the
// resident memory grew by 1 MB or more after the first minute.
#include "soak_run.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

void usage()
{
    std::fputs("usage: vorn_soak [--link NAME|all] [--seconds N] [--seed N]\n"
               "  NAME: rs232-group, rs232-standalone, tcpip, isa, pv2 (default all, one after another)\n"
               "  --seconds N   streaming time per link (default 20)\n"
               "  --seed N      the fault schedule's seed (default 1)\n",
               stderr);
}

bool readNumber(const char* text, unsigned long& value)
{
    char* end = nullptr;
    value = std::strtoul(text, &end, 10);
    return end != text && *end == '\0' && value > 0;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace vorn::soak;
    std::string which = "all";
    SoakSettings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        unsigned long number = 0;
        if (arg == "--link" && i + 1 < argc) {
            which = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc && readNumber(argv[++i], number) && number < 86400) {
            settings.duration = std::chrono::seconds(number);
        } else if (arg == "--seed" && i + 1 < argc && readNumber(argv[++i], number)) {
            settings.seed = static_cast<uint32_t>(number);
        } else {
            usage();
            return 2;
        }
    }
    const std::vector<std::string> names = which == "all" ? linkNames() : std::vector<std::string> {which};
    std::string table = tableHead();
    std::string notes;
    bool clean = true;
    for (const std::string& name : names) {
        auto link = makeLink(name);
        if (!link) {
            usage();
            return 2;
        }
        try {
            link->start();
            const SoakTally tally = runSoak(*link, settings);
            link->stop();
            table += tableRow(tally, settings.duration);
            notes += details(tally);
            clean = clean && tally.clean();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", name.c_str(), e.what());
            clean = false;
        }
    }
    std::fputs(table.c_str(), stdout);
    std::fputs(notes.c_str(), stdout);
    return clean ? 0 : 1;
}

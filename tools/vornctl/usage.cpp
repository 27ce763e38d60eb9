#include "usage.h"

namespace vornctl {

void printUsage(std::FILE* out)
{
    std::fputs(
        "usage: vornctl COMMAND [OPTIONS]\n"
        "\n"
        "Wakes up a group of Vorn trackers on serial lines, configures them and takes data.\n"
        "\n"
        "Commands:\n"
        "  info                 print the system configuration and each unit's configuration\n"
        "  set                  apply the setting options below, then print the configuration\n"
        "  reading              take single readings unit by unit (--count, --unit)\n"
        "  frame                take single frames of the whole group (--count)\n"
        "  stream               stream frames until --count, --duration or Ctrl-C\n"
        "  demo                 start a simulated vornset and stream from it\n"
        "  version              print the library version\n"
        "\n"
        "Connection:\n"
        "  -p, --port LIST      COM port numbers by unit address, master first: 1 or 1,0,2\n"
        "                       (0: the unit is reached through the master). Default 1.\n"
        "                       COM<n> is $VORN_COM<n> when set, else /dev/ttyS<n-1>.\n"
        "  -n, --units N        units on the bus (default: one per port given)\n"
        "  -s, --stand-alone    one unit on its own line (address 0)\n"
        "  -b, --baud RATE      line speed (default 115200)\n"
        "      --read-timeout MS   wait for an answer at most MS ms (default 2000)\n"
        "      --write-timeout MS  wait to send at most MS ms (default 1000)\n"
        "  -g, --group ID       group identifier 0..256 (default 1)\n"
        "      --group-mode auto|on|off   how frames are taken from a vornset (default auto)\n"
        "\n"
        "Settings (applied after wake-up, before the command's work):\n"
        "  -f, --format NAME    none, position, angles, matrix, position-angles,\n"
        "                       position-matrix, quaternion, position-quaternion\n"
        "  -r, --rate HZ        measurement rate, above 0 and below 256\n"
        "      --hemisphere H   front, back, top, bottom, left, right\n"
        "      --filters LIST   none, or a comma list of dc, wide, narrow (filters on)\n"
        "      --scaling 36|72  position full scale in inches\n"
        "      --report-rate 1|2|8|32   report every n-th measurement cycle\n"
        "      --button on|off  append the button value to every record\n"
        "  -u, --unit U         apply settings to (or read) only this unit\n"
        "\n"
        "Output:\n"
        "  -o, --output csv|json|table   default: table on a terminal, csv otherwise\n"
        "  -c, --count N        number of readings or frames\n"
        "  -d, --duration S     stream for S seconds\n"
        "  -q, --quiet          no progress lines on standard error\n"
        "\n"
        "Positions are in inches, angles in degrees, matrix and quaternion elements\n"
        "as fractions; time stamps are seconds of the system's monotonic clock.\n"
        "\n"
        "Exit status: 0 done; 1 a call to the units failed; 2 bad command line;\n"
        "3 the group could not be woken up; 130 interrupted before a --count or\n"
        "--duration was reached (Ctrl-C ends an unbounded stream with 0).\n",
        out);
}

} // namespace vornctl

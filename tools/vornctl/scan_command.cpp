// vornctl scan: which unit is on which port, at which baud rate.
#include "commands.h"
#include "exit_codes.h"
#include "scan_options.h"
#include "scan_report.h"
#include "stop_request.h"

#include <vorn/vorn.h>

#include <cstdio>
#include <unistd.h>

namespace vornctl {

namespace {

// The group scan borrows for a controller, shut down at once.
constexpr int kScanGroup = 256;

class Progress {
public:
    explicit Progress(bool show) : show_(show) {}
    void show(const std::string& text)
    {
        if (show_) {
            std::fprintf(stderr, "\r\x1b[2Kscanning %s", text.c_str());
            std::fflush(stderr);
        }
    }
    void clear()
    {
        if (show_)
            std::fputs("\r\x1b[2K", stderr);
    }

private:
    bool show_;
};

// The controller's wake-up resets no unit and changes nothing: it connects.
ControllerFinding askController(const std::string& server)
{
    ControllerFinding finding;
    finding.server = server;
    const auto colon = server.rfind(':');
    const std::string host = server.substr(0, colon);
    const auto port = static_cast<uint16_t>(std::stoul(server.substr(colon + 1)));
    vornDisplayErrorDialogs(0); // the reason goes into the table instead
    vornShutDown(kScanGroup);
    if (!vornTCPIPWakeUp(kScanGroup, host.c_str(), port, 0)) {
        finding.reason = "no controller answers there";
    } else if (!vornGetSystemConfig(kScanGroup, &finding.system)) {
        finding.reason = "connected, but the controller did not send its configuration";
    } else {
        finding.found = true;
    }
    vornShutDown(kScanGroup);
    vornGetErrorCode();
    vornDisplayErrorDialogs(1);
    return finding;
}

} // namespace

int runScan(const ScanOptions& options)
{
    Progress progress(!options.quiet && isatty(STDERR_FILENO) != 0);
    const auto ports = options.ports.empty() && !options.controllers.empty() ? std::vector<Candidate> {}
                       : options.ports.empty()                               ? defaultCandidates()
                                                                             : givenCandidates(options.ports);
    printScanHeader(stdout);
    int found = 0;
    for (std::size_t i = 0; i < ports.size() && !stopRequested(); ++i) {
        const Candidate& port = ports[i];
        const std::string count = " (" + std::to_string(i + 1) + " of " + std::to_string(ports.size()) + ")";
        const PortFinding finding = probePort(port.path, options.bauds, options.answerTimeoutMs, [&](uint32_t baud) {
            progress.show(port.path + " at " + std::to_string(baud) + " baud" + count);
        });
        progress.clear();
        printPortRow(stdout, port, finding);
        std::fflush(stdout);
        found += finding.outcome == PortFinding::Outcome::Found;
    }
    for (const auto& server : options.controllers) {
        if (stopRequested())
            break;
        progress.show("the controller at " + server);
        const ControllerFinding finding = askController(server);
        progress.clear();
        printControllerRow(stdout, finding);
        found += finding.found;
    }
    if (ports.empty() && options.controllers.empty())
        std::fprintf(stderr, "vornctl: no serial ports to scan (none of VORN_COM<n>, /dev/serial/by-id, "
                             "/dev/ttyUSB*, /dev/ttyACM*, /dev/ttyS0-3; name them with --port)\n");
    if (stopRequested())
        return kExitInterrupted;
    return found > 0 ? kExitOk : kExitFailure;
}

} // namespace vornctl

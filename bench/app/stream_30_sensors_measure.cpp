// Vornscope streaming 30 sensors at 144 Hz, samplesPerPoint 1, from the
// simulated networked controller in this process, through a real view
// (offscreen). Reports the data points delivered against the frames the
// units measured, failed reads, the longest the user-interface thread went
// without running its events, and the process's CPU use.
#include "acquisition/acquisition_hub.h"
#include "controller/controller_server.h"
#include "core/command_ids.h"
#include "document/vornscope_doc.h"
#include "document/vornscope_view.h"

#include <vorn/vorn.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using namespace vornscope;

double processCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

std::unique_ptr<CVornGroup> wakeGroup(int id, std::uint16_t port, int units)
{
    if (!vornTCPIPWakeUp(id, "127.0.0.1", port, units))
        return nullptr;
    auto group = std::make_unique<CVornGroup>(id, Transport::TCPIP, false, units);
    vornGetSystemConfig(id, &group->systemConfig);
    group->deviceConfig.resize(static_cast<std::size_t>(units) + 1);
    for (int unit = 1; unit <= units; ++unit) {
        vornGetDeviceConfig(id, unit, &group->deviceConfig[static_cast<std::size_t>(unit)]);
        group->sensorPresent[static_cast<std::size_t>(unit)] = true;
    }
    return group;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    constexpr int kUnits = 30;
    vorn::sim::ControllerConfig config = vorn::sim::controllerConfig(kUnits);
    config.measurementRate = 144.0;
    vorn::sim::ControllerServer controller(config);
    controller.start();

    CVornscopeDoc document;
    auto group = wakeGroup(document.groupId(), controller.port(), kUnits);
    if (!group) {
        std::fprintf(stderr, "the simulated controller did not wake\n");
        return 1;
    }
    document.session().adopt(std::move(group), true);
    document.setSamplesPerPoint(1);
    CVornscopeView view(&document);
    view.resize(1000, 700);
    view.show();
    view.state().setUp = true;

    // The longest gap between two runs of a 2 ms timer: how long the UI thread was busy.
    QElapsedTimer gap;
    qint64 longestGapMs = 0;
    QTimer probe;
    probe.setInterval(2);
    QObject::connect(&probe, &QTimer::timeout, [&] { longestGapMs = std::max(longestGapMs, gap.restart()); });

    const double cpuStart = processCpuMs();
    QElapsedTimer wall;
    wall.start();
    view.onCommand(ID_STREAM);
    gap.start();
    probe.start();
    // The rate is taken over the time the mode really ran: the timer can fire late while the
    // first screens are painted.
    double streamedMs = 0;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &application, [&] {
        streamedMs = static_cast<double>(wall.elapsed());
        view.onCommand(ID_STREAM);
        QTimer::singleShot(300, &application, &QApplication::quit);
    });
    application.exec();
    const double wallMs = static_cast<double>(wall.elapsed());
    const double cpuMs = processCpuMs() - cpuStart;
    const std::size_t points = view.acquisition().delivered();
    std::printf("Vornscope stream, %d sensors at 144 Hz, samplesPerPoint 1, streaming for %.2f s:\n"
                "  %zu data points (%.1f per second), every one shown and handed on\n"
                "  user-interface thread longest busy stretch %lld ms\n"
                "  process CPU %.1f ms = %.1f %% of one core (simulated controller included)\n",
                kUnits, streamedMs / 1000.0, points, 1000.0 * static_cast<double>(points) / streamedMs,
                static_cast<long long>(longestGapMs), cpuMs, 100.0 * cpuMs / wallMs);
    document.session().shutDown();
    controller.stop();
    return 0;
}

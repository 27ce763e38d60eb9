// End to end on loopback: frames of N sensors published at a rate to C
// clients in another process. Reports, per frame, the time from the frame in
// hand (before encoding) to the last byte of its messages at each client
// (median, 99th percentile, maximum), and the server process's CPU use.
//   igtl_fanout_measure [clients=10] [sensors=8] [rate=144] [seconds=10]
#include "frame_encoder.h"
#include "igtl_codec.h"
#include "igtl_decoder.h"
#include "igtl_server.h"
#include "server_log.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int64_t nowNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

int connectTo(uint16_t port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        std::perror("connect");
    return fd;
}

// The clients, all in one poll loop: the arrival time of each frame's last
// message (the one of the last sensor), per client, written to `out` at the end.
void runClients(uint16_t port, int clients, int sensors, int frames, int out)
{
    std::vector<pollfd> fds;
    std::vector<std::vector<uint8_t>> streams(static_cast<std::size_t>(clients));
    for (int i = 0; i < clients; ++i)
        fds.push_back({connectTo(port), POLLIN, 0});
    std::vector<int64_t> arrival(static_cast<std::size_t>(clients * frames), 0);
    const std::string last = vornigtl::deviceNameOf(sensors);
    int open = clients;
    while (open > 0 && poll(fds.data(), fds.size(), 10000) > 0) {
        const int64_t now = nowNs();
        for (int c = 0; c < clients; ++c) {
            if (!(fds[c].revents & (POLLIN | POLLHUP)))
                continue;
            uint8_t buffer[65536];
            const ssize_t got = recv(fds[c].fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                close(fds[c].fd);
                fds[c].fd = -1;
                --open;
                continue;
            }
            auto& stream = streams[static_cast<std::size_t>(c)];
            stream.insert(stream.end(), buffer, buffer + got);
            while (auto m = igtltest::takeMessage(stream)) {
                if (m->deviceName != last)
                    continue;
                const int frame = static_cast<int>(m->seconds * 1000 + (m->fraction * 1000.0) / 4294967296.0 + 0.5);
                if (frame >= 0 && frame < frames)
                    arrival[static_cast<std::size_t>(c * frames + frame)] = now;
            }
        }
    }
    [[maybe_unused]] auto written = write(out, arrival.data(), arrival.size() * sizeof(int64_t));
}

} // namespace

int main(int argc, char** argv)
{
    const int clients = argc > 1 ? std::atoi(argv[1]) : 10;
    const int sensors = argc > 2 ? std::atoi(argv[2]) : 8;
    const double rate = argc > 3 ? std::atof(argv[3]) : 144.0;
    const double seconds = argc > 4 ? std::atof(argv[4]) : 10.0;
    const int frames = static_cast<int>(rate * seconds);

    vornigtl::setLogQuiet(true);
    vornigtl::ServerSettings settings;
    settings.address = "127.0.0.1";
    settings.port = 0;
    settings.queueFrames = 64; // measure delivery, not drops
    vornigtl::IgtlServer server(settings);
    std::string error;
    if (!server.start(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    int results[2];
    if (pipe(results) != 0)
        return 1;
    const pid_t child = fork();
    if (child == 0) {
        close(results[0]);
        runClients(server.port(), clients, sensors, frames, results[1]);
        _exit(0);
    }
    close(results[1]);
    while (server.clientCount() < static_cast<std::size_t>(clients))
        usleep(1000);

    std::vector<vornctl::UnitLayout> units;
    for (int address = 1; address <= sensors; ++address)
        units.push_back({address, 5, 72, false});
    vornigtl::FrameEncoder encoder(units);
    std::vector<uint8_t> bytes(encoder.frameSize());
    std::vector<int64_t> published(static_cast<std::size_t>(frames));
    VornFrame frame {};
    const int64_t period = static_cast<int64_t>(1e9 / rate);
    const double cpuBefore = cpuSeconds();
    const int64_t start = nowNs();
    for (int n = 0; n < frames; ++n) {
        const int64_t due = start + n * period;
        timespec at {static_cast<time_t>(due / 1000000000), static_cast<long>(due % 1000000000)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
        frame.time = static_cast<uint32_t>(n); // the frame number, read back by the clients
        for (int address = 1; address <= sensors; ++address)
            frame.reading[address].matrix[0] = frame.reading[address].matrix[4] = frame.reading[address].matrix[8] =
                32767;
        published[static_cast<std::size_t>(n)] = nowNs();
        encoder.encode(frame, vornigtl::timestampOfMilliseconds(frame.time), bytes.data());
        server.publish(bytes.data(), bytes.size());
    }
    const double wall = (nowNs() - start) * 1e-9;
    server.stop(5000);
    const double cpu = cpuSeconds() - cpuBefore;

    std::vector<int64_t> arrival(static_cast<std::size_t>(clients * frames));
    std::size_t got = 0;
    auto* raw = reinterpret_cast<char*>(arrival.data());
    while (got < arrival.size() * sizeof(int64_t)) {
        const ssize_t n = read(results[0], raw + got, arrival.size() * sizeof(int64_t) - got);
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    waitpid(child, nullptr, 0);
    std::vector<double> latencyUs;
    int missing = 0;
    for (int c = 0; c < clients; ++c)
        for (int n = 0; n < frames; ++n) {
            const int64_t at = arrival[static_cast<std::size_t>(c * frames + n)];
            if (at == 0)
                ++missing;
            else
                latencyUs.push_back((at - published[static_cast<std::size_t>(n)]) * 1e-3);
        }
    std::sort(latencyUs.begin(), latencyUs.end());
    const auto at = [&](double q) {
        return latencyUs.empty() ? 0.0 : latencyUs[static_cast<std::size_t>(q * (latencyUs.size() - 1))];
    };
    std::printf("%d clients, %d sensors, %.0f Hz, %.1f s: %d frames, %zu deliveries, %d missing\n", clients, sensors,
                rate, wall, frames, latencyUs.size(), missing);
    std::printf("frame in hand -> last byte at a client: median %.0f us, p99 %.0f us, max %.0f us\n", at(0.5), at(0.99),
                latencyUs.empty() ? 0.0 : latencyUs.back());
    std::printf("server CPU: %.2f %% of one core (%.3f s over %.1f s)\n", 100.0 * cpu / wall, cpu, wall);
    return 0;
}

// The unit simulator as a library: start it in-process with a configuration, reach its
// lines through the COM<n> links it publishes, look at what it received, inject faults,
// and stop it. Every line is served by its own thread.
#pragma once

#include "controller/controller_server.h"
#include "inspect/received_log.h"
#include "isa/port_io_server.h"
#include "rs232/link_folder_lock.h"
#include "rs232/rs232_line.h"
#include "simulator_config.h"
#include "unit/vornset.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vorn::sim {

// One published line: "VORN_COM<port>" is the variable, `path` its value.
struct EnvAssignment {
    unsigned port = 0;
    std::string name;
    std::filesystem::path path;
    uint8_t unit = 0; // the unit that owns the line
};

class Simulator {
public:
    // `log` receives one line per notable event (bad input, resets, faults); may be empty.
    explicit Simulator(SimulatorConfig config, std::function<void(const std::string&)> log = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Creates the pseudo-terminals and starts serving them; throws on failure.
    void start();
    void stop();

    std::vector<EnvAssignment> envAssignments() const;
    // "VORN_COM1=/tmp/.../COM1" lines, one per line, for a shell to source.
    std::string envText() const;
    void writeEnvFile(const std::filesystem::path& file) const;
    // Sets the variables in this process, for in-process clients.
    void exportEnvironment() const;

    // The line owned by a unit; throws std::out_of_range for a unit without one.
    Rs232Line& line(uint8_t unit);
    std::filesystem::path linePath(uint8_t unit) const;

    const ReceivedLog& received(uint8_t unit) const;
    std::optional<UnitSettings> unitSettings(uint8_t address) const;
    std::vector<std::string> logLines() const;

    // The networked controller and the ISA boards, when configured (else nullptr).
    ControllerServer* controller() { return controller_.get(); }
    PortIoServer* portIo() { return portIo_.get(); }
    const ControllerServer* controller() const { return controller_.get(); }
    const PortIoServer* portIo() const { return portIo_.get(); }
    const SimulatorConfig& config() const { return config_; }

private:
    void log(const std::string& text);

    SimulatorConfig config_;
    std::function<void(const std::string&)> sink_;
    std::filesystem::path directory_;
    bool ownsDirectory_ = false;
    std::unique_ptr<LinkFolderLock> folderLock_; // a folder given by the caller: ours while we run
    std::unique_ptr<Vornset> vornset_;
    std::vector<std::unique_ptr<Rs232Line>> lines_;
    std::unique_ptr<ControllerServer> controller_;
    std::unique_ptr<PortIoServer> portIo_;
    std::vector<EnvAssignment> assignments_;
    mutable std::mutex logMutex_;
    std::vector<std::string> logLines_;
};

} // namespace vorn::sim

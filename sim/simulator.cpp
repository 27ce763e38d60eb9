#include "simulator.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace vorn::sim {

namespace {

constexpr std::size_t kMaxLogLines = 10000;

std::filesystem::path makeTemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vornsim-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a folder for the simulator's lines");
    }
    return pattern;
}

void checkConfig(const SimulatorConfig& config)
{
    if (config.units.empty()) {
        throw std::invalid_argument("the simulator needs at least one unit");
    }
    for (const auto& unit : config.units) {
        if (unit.address > 126) {
            throw std::invalid_argument("unit address above 126");
        }
        if (unit.address == 0 && config.units.size() > 1) {
            throw std::invalid_argument("a stand-alone unit (address 0) must be the only unit");
        }
    }
}

} // namespace

Simulator::Simulator(SimulatorConfig config, std::function<void(const std::string&)> log)
    : config_(std::move(config)), sink_(std::move(log))
{
    checkConfig(config_);
    // The master has a line of its own whatever the configuration says.
    auto master = std::min_element(config_.units.begin(), config_.units.end(),
                                   [](const auto& a, const auto& b) { return a.address < b.address; });
    master->ownLine = true;
}

Simulator::~Simulator()
{
    stop();
}

void Simulator::log(const std::string& text)
{
    {
        std::lock_guard lock(logMutex_);
        if (logLines_.size() < kMaxLogLines) {
            logLines_.push_back(text);
        }
    }
    if (sink_) {
        sink_(text);
    }
}

void Simulator::start()
{
    if (vornset_) {
        return;
    }
    directory_ = config_.linkDirectory;
    if (directory_.empty()) {
        directory_ = makeTemporaryDirectory();
        ownsDirectory_ = true;
    } else {
        std::filesystem::create_directories(directory_);
        folderLock_ = std::make_unique<LinkFolderLock>(directory_);
    }
    auto logger = [this](const std::string& text) { log(text); };
    vornset_ = std::make_unique<Vornset>(config_.units, config_.metal, config_.environment, config_.seed, logger);
    std::vector<UnitConfig> sorted = config_.units;
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.address < b.address; });
    unsigned port = config_.firstPort;
    const LineTiming timing {config_.restartSilence, config_.partialCommandTimeout};
    for (const auto& unit : sorted) {
        if (!unit.ownLine) {
            continue;
        }
        const std::string name = "COM" + std::to_string(port);
        auto line = std::make_unique<Rs232Line>(*vornset_, unit.address, directory_ / name, timing, logger);
        assignments_.push_back({port, "VORN_" + name, line->path(), unit.address});
        lines_.push_back(std::move(line));
        ++port;
    }
    for (auto& line : lines_) {
        line->start();
    }
    // One room for every link: the controller's and the boards' sensors move among the same metal.
    if (config_.controller) {
        config_.controller->metal = config_.metal;
        config_.controller->seed = config_.seed;
        controller_ = std::make_unique<ControllerServer>(*config_.controller, logger);
        controller_->start();
    }
    if (config_.isa) {
        config_.isa->metal = config_.metal;
        config_.isa->seed = config_.seed;
        portIo_ = std::make_unique<PortIoServer>(*config_.isa, logger);
        portIo_->start();
    }
}

void Simulator::stop()
{
    for (auto& line : lines_) {
        line->stop();
    }
    lines_.clear();
    vornset_.reset();
    controller_.reset();
    portIo_.reset();
    folderLock_.reset();
    if (ownsDirectory_) {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
        ownsDirectory_ = false;
    }
}

std::vector<EnvAssignment> Simulator::envAssignments() const
{
    return assignments_;
}

std::string Simulator::envText() const
{
    std::string text;
    for (const auto& a : assignments_) {
        text += a.name + "=" + a.path.string() + "\n";
    }
    if (portIo_) {
        text += "VORN_PORTIO=" + portIo_->path().string() + "\n";
    }
    if (controller_) {
        text += "VORN_CONTROLLER=127.0.0.1:" + std::to_string(controller_->port()) + "\n";
    }
    return text;
}

void Simulator::writeEnvFile(const std::filesystem::path& file) const
{
    // Written aside and renamed, so a script waiting for the file never reads half of it.
    const auto temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << envText();
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + temporary);
        }
    }
    std::filesystem::rename(temporary, file);
}

void Simulator::exportEnvironment() const
{
    for (const auto& a : assignments_) {
        ::setenv(a.name.c_str(), a.path.c_str(), 1);
    }
    if (portIo_) {
        portIo_->exportEnvironment();
    }
}

Rs232Line& Simulator::line(uint8_t unit)
{
    for (auto& line : lines_) {
        if (line->owner() == unit) {
            return *line;
        }
    }
    throw std::out_of_range("unit " + std::to_string(unit) + " has no line of its own");
}

std::filesystem::path Simulator::linePath(uint8_t unit) const
{
    return const_cast<Simulator*>(this)->line(unit).path();
}

const ReceivedLog& Simulator::received(uint8_t unit) const
{
    return const_cast<Simulator*>(this)->line(unit).received();
}

std::optional<UnitSettings> Simulator::unitSettings(uint8_t address) const
{
    return vornset_ ? vornset_->settingsOf(address) : std::nullopt;
}

std::vector<std::string> Simulator::logLines() const
{
    std::lock_guard lock(logMutex_);
    return logLines_;
}

} // namespace vorn::sim

#include "scan_candidates.h"

#include "com_port.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

extern char** environ;

namespace vornctl {

namespace {

namespace fs = std::filesystem;

std::string realPathOf(const std::string& path)
{
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    return error ? path : resolved.string();
}

// Paths in `folder` whose name starts with `prefix`, sorted.
std::vector<std::string> entriesOf(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

// VORN_COM<n> variables by n.
std::map<unsigned, std::string> comVariables()
{
    std::map<unsigned, std::string> ports;
    constexpr std::string_view kPrefix = "VORN_COM";
    for (char** variable = environ; variable != nullptr && *variable != nullptr; ++variable) {
        const std::string_view text = *variable;
        const auto equals = text.find('=');
        if (text.substr(0, kPrefix.size()) != kPrefix || equals == std::string_view::npos || equals + 1 == text.size())
            continue;
        const std::string number(text.substr(kPrefix.size(), equals - kPrefix.size()));
        if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 5)
            continue;
        ports[static_cast<unsigned>(std::stoul(number))] = std::string(text.substr(equals + 1));
    }
    return ports;
}

class CandidateList {
public:
    void add(Candidate candidate)
    {
        const std::string device = realPathOf(candidate.path);
        for (auto& known : list_) {
            if (realPathOf(known.path) != device)
                continue;
            if (known.byId.empty())
                known.byId = candidate.byId;
            if (!known.comPort)
                known.comPort = candidate.comPort;
            return;
        }
        list_.push_back(std::move(candidate));
    }
    std::vector<Candidate> take() { return std::move(list_); }

private:
    std::vector<Candidate> list_;
};

} // namespace

std::vector<Candidate> defaultCandidates()
{
    CandidateList list;
    for (const auto& [port, path] : comVariables())
        list.add({path, {}, port});
    for (const auto& byId : entriesOf("/dev/serial/by-id", ""))
        list.add({realPathOf(byId), byId, std::nullopt});
    for (const char* prefix : {"ttyUSB", "ttyACM"})
        for (const auto& path : entriesOf("/dev", prefix))
            list.add({path, {}, std::nullopt});
    // COM<n> is /dev/ttyS<n-1> where no variable says otherwise.
    const auto variables = comVariables();
    for (unsigned n = 1; n <= 4; ++n)
        if (fs::exists("/dev/ttyS" + std::to_string(n - 1)))
            list.add({"/dev/ttyS" + std::to_string(n - 1),
                      {},
                      variables.count(n) == 0 ? std::optional<unsigned>(n) : std::nullopt});
    return list.take();
}

std::vector<Candidate> givenCandidates(const std::vector<std::string>& ports)
{
    CandidateList list;
    for (const auto& port : ports) {
        if (!port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos) {
            const auto n = static_cast<unsigned>(std::stoul(port));
            list.add({comPortPath(n), {}, n});
            continue;
        }
        list.add({port, {}, std::nullopt});
    }
    return list.take();
}

} // namespace vornctl

#include "port_users.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <limits.h>
#include <string>
#include <unistd.h>

namespace vornctl {

namespace {

std::string realPathOf(const std::string& path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? resolved : path;
}

bool holds(const std::string& pid, const std::string& device)
{
    const std::string folder = "/proc/" + pid + "/fd";
    DIR* fds = ::opendir(folder.c_str());
    if (fds == nullptr)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(fds)) {
        char target[PATH_MAX];
        const std::string link = folder + "/" + entry->d_name;
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == device) {
            found = true;
            break;
        }
    }
    ::closedir(fds);
    return found;
}

} // namespace

std::string portUsers(const std::string& path)
{
    const std::string device = realPathOf(path);
    const std::string self = std::to_string(::getpid());
    DIR* processes = ::opendir("/proc");
    if (processes == nullptr)
        return {};
    std::string users;
    while (const dirent* entry = ::readdir(processes)) {
        const std::string pid = entry->d_name;
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self || !holds(pid, device))
            continue;
        std::string name;
        std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
        users += (users.empty() ? "" : ", ") + name + " (pid " + pid + ")";
    }
    ::closedir(processes);
    return users;
}

} // namespace vornctl

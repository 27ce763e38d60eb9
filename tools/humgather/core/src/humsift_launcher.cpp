#include "vorn/humgather/humsift_launcher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern char** environ;

namespace vorn::humgather {

namespace {

bool isExecutable(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::filesystem::path> onPath()
{
    const char* path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    std::string_view rest(path);
    while (true) {
        const auto colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        const auto candidate = std::filesystem::path(dir.empty() ? "." : std::string(dir)) / kHumsiftProgramName;
        if (isExecutable(candidate))
            return candidate;
        if (colon == std::string_view::npos)
            return std::nullopt;
        rest.remove_prefix(colon + 1);
    }
}

// Ignores a signal for the lifetime of the object, as a shell does while a child runs.
class IgnoredSignal {
public:
    explicit IgnoredSignal(int signal) : signal_(signal)
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(signal_, &ignore, &saved_);
    }
    ~IgnoredSignal() { sigaction(signal_, &saved_, nullptr); }
    IgnoredSignal(const IgnoredSignal&) = delete;
    IgnoredSignal& operator=(const IgnoredSignal&) = delete;

private:
    int signal_;
    struct sigaction saved_ {};
};

} // namespace

std::filesystem::path ownProgramDirectory()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

std::optional<std::filesystem::path> findHumsift(const std::filesystem::path& ownDirectory)
{
    if (const char* named = std::getenv("HUMSIFT"); named && *named) {
        if (isExecutable(named))
            return std::filesystem::path(named);
        return std::nullopt; // an explicit choice that does not work is reported, not replaced
    }
    if (!ownDirectory.empty() && isExecutable(ownDirectory / kHumsiftProgramName))
        return ownDirectory / kHumsiftProgramName;
    return onPath();
}

HandOverResult runAndWait(const std::filesystem::path& program)
{
    HandOverResult result;
    IgnoredSignal interrupt(SIGINT);
    IgnoredSignal quit(SIGQUIT);

    // The child gets the default actions back, so Ctrl-C still ends it.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGQUIT);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::string name = program.string();
    char* argv[] = {name.data(), nullptr};
    pid_t child = 0;
    const int failed = posix_spawn(&child, name.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        result.errorText = std::strerror(failed);
        return result;
    }
    result.started = true;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

} // namespace vorn::humgather

#include "vorn/humgather/replaced_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vorn::humgather {

namespace {

std::filesystem::path besideTarget(const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += ".partial";
    return partial;
}

bool fail(const std::filesystem::path& path, std::string& errorText) {
    errorText = path.string() + ": " + std::strerror(errno);
    return false;
}

// Writes everything or says why not; the descriptor is closed either way.
bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            ::close(fd);
            errno = error;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    // On the disk before the rename, so a crash cannot leave a short file under the old name.
    if (::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    return ::close(fd) == 0;
}

}  // namespace

bool canReplace(const std::filesystem::path& path, std::string& errorText) {
    if (path.empty()) {
        errorText = "no file name given";
        return false;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        errorText = path.string() + " is a folder";
        return false;
    }
    if (std::filesystem::exists(path, ec) && ::access(path.c_str(), W_OK) != 0) return fail(path, errorText);
    const std::filesystem::path probe = besideTarget(path);
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return fail(probe, errorText);
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool replaceFile(const std::filesystem::path& path, std::string_view content, std::string& errorText) {
    const std::filesystem::path partial = besideTarget(path);
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return fail(partial, errorText);
    if (!writeAll(fd, content) || ::rename(partial.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(partial.c_str());
        errno = error;
        return fail(path, errorText);
    }
    return true;
}

}  // namespace vorn::humgather

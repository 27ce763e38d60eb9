#include "vorn/console/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vorn::console {

namespace {

FileWriteResult failure(int error)
{
    return {false, std::strerror(error)};
}

bool writeAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

FileWriteResult replaceFile(const std::string& path, std::string_view content)
{
    const std::string beside = path + "." + std::to_string(getpid()) + ".partial";
    const int fd = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return failure(errno);
    const bool complete = writeAll(fd, content) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !complete) {
        const int error = complete ? errno : writeError;
        ::unlink(beside.c_str());
        return failure(error);
    }
    if (std::rename(beside.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(beside.c_str());
        return failure(error);
    }
    return {true, {}};
}

} // namespace vorn::console

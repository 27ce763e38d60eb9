#include "vorn/humgather/replaced_file.h"

#include "vorn/console/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vorn::humgather {

namespace {

bool fail(const std::filesystem::path& path, std::string& errorText)
{
    errorText = path.string() + ": " + std::strerror(errno);
    return false;
}

} // namespace

bool canReplace(const std::filesystem::path& path, std::string& errorText)
{
    if (path.empty()) {
        errorText = "no file name given";
        return false;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        errorText = path.string() + " is a folder";
        return false;
    }
    if (std::filesystem::exists(path, ec) && ::access(path.c_str(), W_OK) != 0)
        return fail(path, errorText);
    std::filesystem::path probe = path;
    probe += ".partial";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(probe, errorText);
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool replaceFile(const std::filesystem::path& path, std::string_view content, std::string& errorText)
{
    const console::FileWriteResult written = console::replaceFile(path.string(), content);
    if (!written)
        errorText = path.string() + ": " + written.reason;
    return written.written;
}

} // namespace vorn::humgather

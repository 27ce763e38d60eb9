#include "rs232/link_folder_lock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn::sim {

namespace {

std::string ownerOf(int fd)
{
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    const std::string pid = got > 0 ? std::string(text, static_cast<std::size_t>(got)) : "";
    return pid.empty() ? "another vornsim" : "vornsim process " + pid.substr(0, pid.find('\n'));
}

// True when `fd` is still the file at `path`: one that a stopping owner unlinked is not.
bool stillAt(int fd, const std::filesystem::path& path)
{
    struct stat held {
    }, named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
           held.st_dev == named.st_dev;
}

} // namespace

LinkFolderLock::LinkFolderLock(const std::filesystem::path& folder) : file_(folder / ".vornsim.lock")
{
    while (true) {
        fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0)
            throw std::runtime_error("cannot claim " + folder.string() + ": " + std::strerror(errno));
        if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            const std::string owner = ownerOf(fd_);
            ::close(fd_);
            fd_ = -1;
            throw std::runtime_error(folder.string() + " holds the COM links of a running simulator (" + owner +
                                     "); give this one another --dir");
        }
        if (stillAt(fd_, file_))
            break;
        ::close(fd_); // its owner stopped and removed it meanwhile: claim a new one
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, pid.data(), pid.size(), 0) < 0) {
        // The pid only makes the refusal's message better; the lock is what counts.
    }
}

LinkFolderLock::~LinkFolderLock()
{
    ::unlink(file_.c_str());
    ::close(fd_);
}

} // namespace vorn::sim

#include "record_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vornctl {

namespace {

std::string besidePath(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".recording";
}

std::string reason(int code)
{
    std::string text = std::strerror(code);
    if (code == ENOSPC)
        text += " (the disk is full)";
    return text;
}

} // namespace

std::unique_ptr<RecordFile> RecordFile::open(const std::string& path, std::string& error)
{
    struct stat status {};
    const bool exists = ::stat(path.c_str(), &status) == 0;
    std::string writing = path;
    int flags = O_WRONLY | O_CLOEXEC;
    if (!exists) {
        flags |= O_CREAT | O_EXCL;
    } else if (S_ISREG(status.st_mode)) {
        writing = besidePath(path);
        flags |= O_CREAT | O_TRUNC;
    }
    const int fd = ::open(writing.c_str(), flags, 0644);
    if (fd < 0) {
        error = "cannot write " + writing + ": " + reason(errno);
        return nullptr;
    }
    return std::unique_ptr<RecordFile>(new RecordFile(fd, path, writing));
}

RecordFile::RecordFile(int fd, std::string target, std::string writing)
    : fd_(fd), target_(std::move(target)), writing_(std::move(writing))
{
}

RecordFile::~RecordFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool RecordFile::fail(const std::string& what, int code)
{
    error_ = what + " " + writing_ + " failed: " + reason(code);
    return false;
}

bool RecordFile::append(const std::string& text)
{
    if (!error_.empty() || fd_ < 0)
        return false;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int code = n < 0 ? errno : ENOSPC;
            // A piece cut short would leave half a row: take it back off.
            if (done > 0)
                (void)::ftruncate(fd_, static_cast<off_t>(bytes_));
            return fail("writing", code);
        }
        done += static_cast<std::size_t>(n);
    }
    bytes_ += done;
    return true;
}

void RecordFile::discard()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    struct stat status {};
    if (::stat(writing_.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        ::unlink(writing_.c_str());
}

bool RecordFile::close()
{
    if (fd_ < 0)
        return error_.empty();
    const bool synced = ::fsync(fd_) == 0 || errno == EINVAL || errno == EROFS;
    const int syncError = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!error_.empty())
        return false;
    if (!synced || !closed)
        return fail("finishing", synced ? errno : syncError);
    if (writing_ != target_ && std::rename(writing_.c_str(), target_.c_str()) != 0)
        return fail("renaming", errno);
    writing_ = target_;
    return true;
}

} // namespace vornctl

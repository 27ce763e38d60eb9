#include "output_check.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vornctl {

OutputState flushOutput(std::FILE* out, const char* program)
{
    errno = 0;
    if (std::fflush(out) == 0 && std::ferror(out) == 0)
        return OutputState::Written;
    const int error = errno;
    if (error == EPIPE)
        return OutputState::ReaderGone;
    static bool told = false;
    if (!told) {
        told = true;
        std::fprintf(stderr, "%s: cannot write the output: %s\n", program,
                     error != 0 ? std::strerror(error) : "write error");
    }
    return OutputState::Failed;
}

bool prepareStandardStreams(const char* program)
{
    std::signal(SIGPIPE, SIG_IGN);
    bool outputOpen = true;
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        outputOpen = outputOpen && fd != STDOUT_FILENO;
        // Takes the lowest free descriptor, which is this one.
        if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            return false;
    }
    if (!outputOpen)
        std::fprintf(stderr, "%s: cannot write the output: standard output is closed\n", program);
    return outputOpen;
}

} // namespace vornctl

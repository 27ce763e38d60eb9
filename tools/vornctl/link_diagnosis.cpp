#include "link_diagnosis.h"

#include "com_port.h"

#include "library_messages.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vornctl {

namespace {

std::string openFailure(int error)
{
    std::string text = std::strerror(error);
    if (error == EACCES || error == EPERM)
        text += " (add your user to the 'dialout' group, then log in again)";
    else if (error == EBUSY)
        text += " (another program is using it)";
    return text;
}

} // namespace

void explainSerialPort(const std::string& program, unsigned port)
{
    const std::string path = comPortPath(port);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    std::string problem;
    if (fd < 0)
        problem = openFailure(errno);
    else if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        problem = "in use by another program";
    else if (!isatty(fd))
        problem = "not a serial line";
    if (fd >= 0)
        ::close(fd);
    if (!problem.empty())
        std::fprintf(stderr, "%s: COM%u is %s: %s\n", program.c_str(), port, path.c_str(), problem.c_str());
}

bool explainPortAccess(const std::string& program)
{
    if (const char* service = std::getenv("VORN_PORTIO"); service != nullptr && *service != '\0') {
        struct stat info {};
        if (::stat(service, &info) == 0 && S_ISSOCK(info.st_mode))
            return false;
        std::fprintf(stderr, "%s: VORN_PORTIO names %s, which is no port-I/O service socket%s\n", program.c_str(),
                     service, errno == ENOENT ? " (it does not exist)" : "");
        return true;
    }
    const int fd = ::open("/dev/port", O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    const int error = errno;
    std::fprintf(stderr,
                 "%s: the ISA boards are reached through /dev/port, which cannot be opened: %s;\n"
                 "  %sset VORN_PORTIO to the socket of a port-I/O service\n",
                 program.c_str(), std::strerror(error),
                 error == ENOENT ? "" : "run as root (or with CAP_SYS_RAWIO), or ");
    return true;
}

void explainSilentBoard(const std::string& program, uint16_t base)
{
    if (lastLibraryMessage().find("Invalid addressing mode") == std::string::npos)
        return;
    std::fprintf(stderr,
                 "%s: the board at 0x%04X reads as all ones: most likely no board answers there "
                 "(check the base address against the board's jumpers)\n",
                 program.c_str(), base);
}

void explainHost(const std::string& program, const std::string& host)
{
    in_addr dotted {};
    if (inet_aton(host.c_str(), &dotted) != 0)
        return;
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result == 0) {
        freeaddrinfo(found);
        return;
    }
    std::fprintf(stderr, "%s: the host name '%s' cannot be resolved: %s\n", program.c_str(), host.c_str(),
                 result == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(result));
}

} // namespace vornctl

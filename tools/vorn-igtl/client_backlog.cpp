#include "client_backlog.h"

#include <cstddef>
#include <linux/sockios.h>
#include <linux/tcp.h> // its tcp_info has the peer window, which glibc's lacks
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

namespace vornigtl {

std::optional<std::size_t> ClientBacklog::unread(int fd)
{
    tcp_info info {};
    socklen_t length = sizeof info;
    constexpr socklen_t kWithWindow = offsetof(tcp_info, tcpi_snd_wnd) + sizeof info.tcpi_snd_wnd;
    int queued = 0; // sent but not yet acknowledged, or not yet sent
    if (getsockopt(fd, IPPROTO_TCP, TCP_INFO, &info, &length) != 0 || length < kWithWindow ||
        ioctl(fd, SIOCOUTQ, &queued) != 0)
        return std::nullopt;
    if (info.tcpi_snd_wnd > largestWindow_)
        largestWindow_ = info.tcpi_snd_wnd;
    return static_cast<std::size_t>(largestWindow_ - info.tcpi_snd_wnd) + static_cast<std::size_t>(queued);
}

void watchPeerWindow(int fd)
{
    const int on = 1, idleSeconds = 1, intervalSeconds = 1, unanswered = 30;
    setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &unanswered, sizeof unanswered);
}

} // namespace vornigtl

#include "platform/SocketWait.h"

#include <cerrno>
#include <poll.h>

namespace platform {

bool waitForSocket(std::intptr_t socket, SocketReady what, std::chrono::steady_clock::time_point deadline)
{
    pollfd fd{static_cast<int>(socket), static_cast<short>(what == SocketReady::Read ? POLLIN : POLLOUT), 0};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0)
            return false;
        const int r = ::poll(&fd, 1, static_cast<int>(left));
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

} // namespace platform

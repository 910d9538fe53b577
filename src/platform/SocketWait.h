#pragma once
// Waits until a connected socket can be read or written, within a deadline.

#include <chrono>
#include <cstdint>

namespace platform {

enum class SocketReady { Read, Write };

// False when the deadline passed or the wait failed; interrupted waits are resumed.
bool waitForSocket(std::intptr_t socket, SocketReady what, std::chrono::steady_clock::time_point deadline);

} // namespace platform

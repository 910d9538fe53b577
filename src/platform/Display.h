#pragma once
// Whether a window can be shown at all: a display server that answers, or a chosen Qt platform.

#include <string>

namespace platform {

// Empty when a window can be shown; otherwise one line for the user saying why not. An X display
// that DISPLAY names is tried before Qt starts, since Qt aborts when it cannot connect.
std::string displayProblem();

} // namespace platform

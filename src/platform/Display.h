#pragma once
// Whether a window can be shown at all: a display server or a chosen Qt platform.

namespace platform {

bool hasDisplay();

} // namespace platform

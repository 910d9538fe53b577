#include "platform/Display.h"

#include <cstdlib>
#include <string_view>
#include <xcb/xcb.h>

namespace platform {
namespace {
std::string variable(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool xServerAnswers()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection); // also frees a connection in error
    return answers;
}
} // namespace

std::string displayProblem()
{
    const std::string chosen = variable("QT_QPA_PLATFORM");
    const std::string display = variable("DISPLAY");
    // A platform other than X (offscreen, wayland, …) is Qt's to open.
    const bool x = chosen.empty() ? !display.empty() || variable("WAYLAND_DISPLAY").empty()
                                  : std::string_view(chosen).substr(0, 3) == "xcb";
    if (!x)
        return {};
    if (display.empty())
        return "no display found (set DISPLAY, e.g. run under Xvfb, or QT_QPA_PLATFORM=offscreen)";
    if (!xServerAnswers())
        return "cannot connect to the display " + display + " (is its X server running? DISPLAY names it)";
    return {};
}

} // namespace platform

#include "vorn/plot/display_platform.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace vorn::plot {

namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt aborts the program when it cannot open the display, so it is tried here first.
bool canOpenXDisplay()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

void useOffscreen()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

} // namespace

DisplayChoice chooseDisplayPlatform()
{
    if (isSet("QT_QPA_PLATFORM"))
        return {std::string_view(std::getenv("QT_QPA_PLATFORM")) != "offscreen", {}};
    if (isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !canOpenXDisplay()) {
        useOffscreen();
        return {false, "The display " + std::string(std::getenv("DISPLAY")) +
                           " cannot be opened: plots are drawn off-screen (S saves them, P prints them)."};
    }
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return {true, {}};
    useOffscreen();
    return {false, {}};
}

} // namespace vorn::plot

#pragma once
// Chooses where the Qt windows go before the application object exists: on the screen when a
// display is there and can be opened, otherwise off-screen, so a console program runs the same on
// a headless machine or with a stale DISPLAY (an SSH session whose forwarding has gone).
#include <string>

namespace vorn::plot {

struct DisplayChoice {
    bool onScreen = false;
    std::string notice; // one line for the user when a display was named but cannot be opened
};

// Sets the off-screen platform when neither DISPLAY nor WAYLAND_DISPLAY names a display, or when
// the X display DISPLAY names cannot be opened, unless the user has chosen a platform.
DisplayChoice chooseDisplayPlatform();

} // namespace vorn::plot

#pragma once
// Chooses where the Qt windows go before the application object exists: on the screen when a
// display is there, otherwise off-screen, so a console program runs the same on a headless machine.

namespace vorn::plot {

// Sets the off-screen platform when neither DISPLAY nor WAYLAND_DISPLAY names a display and the
// user has not chosen a platform. Returns whether windows will be on a screen.
bool chooseDisplayPlatform();

}  // namespace vorn::plot

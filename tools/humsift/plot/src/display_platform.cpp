#include "vorn/plot/display_platform.h"

#include <cstdlib>
#include <string_view>

namespace vorn::plot {

namespace {
bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}
}  // namespace

bool chooseDisplayPlatform() {
    if (isSet("QT_QPA_PLATFORM")) return std::string_view(std::getenv("QT_QPA_PLATFORM")) != "offscreen";
    if (isSet("DISPLAY") || isSet("WAYLAND_DISPLAY")) return true;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return false;
}

}  // namespace vorn::plot

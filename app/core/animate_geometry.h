// The animate display's geometry: each sensor as an origin and three axis
// end points on screen, and the bouncing ball that changes colour when it
// touches an axis.
#pragma once

#include "core/sample_frame.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vornscope {

struct ScreenPoint {
    double x = 0;
    double y = 0;
};

struct SensorAxes {
    ScreenPoint origin;
    std::array<ScreenPoint, 3> ends; // red, green, blue axes
};

struct AnimateFrame {
    double zoom = 1.0;
    int shiftX = 0;
    int shiftY = 0;
    int width = 1;
    int height = 1;
};

// The animate display's Zoom In and Zoom Out step. Zoom In stops at
// kMaxZoom: at zoom 2 the unit's whole range maps onto one point, and
// beyond it the picture turns inside out and leaves the screen.
constexpr double kZoomStep = 0.25;
constexpr double kMaxZoom = 1.75;
inline double zoomedIn(double zoom)
{
    return zoom + kZoomStep > kMaxZoom ? std::max(zoom, kMaxZoom) : zoom + kZoomStep;
}

// `range` is the unit's full scale: position x makes the axes shorter as it grows.
SensorAxes sensorAxes(const SensorRecord& sensor, double range, const AnimateFrame& screen);

class BouncingBall {
public:
    void start(int width, int height);
    // One step among the drawn axes.
    void step(int width, int height, const std::vector<SensorAxes>& axes);

    double x = 10;
    double y = 10;
    double dx = 0;
    double dy = 0;
    double radius = 1;
    int colour = 0;

private:
    void move(int width, int height);
};

} // namespace vornscope

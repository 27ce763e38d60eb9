#include "core/animate_geometry.h"

#include "vorn/attitude/matrix.h"

#include <algorithm>
#include <cmath>

namespace vornscope {
namespace {

double distanceToSegment(const ScreenPoint& p, const ScreenPoint& a, const ScreenPoint& b)
{
    const double vx = b.x - a.x;
    const double vy = b.y - a.y;
    const double length2 = vx * vx + vy * vy;
    // Guards a zero-length (or vertical and degenerate) axis.
    if (length2 < 1e-6)
        return std::hypot(p.x - a.x, p.y - a.y);
    const double t = std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / length2, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * vx), p.y - (a.y + t * vy));
}

} // namespace

SensorAxes sensorAxes(const SensorRecord& sensor, double range, const AnimateFrame& screen)
{
    const double m = std::min(screen.width, screen.height);
    const double big = 0.2 * m;
    const double small = m / 60;
    const double r = range > 0 ? range : 1;
    const double length = big - std::min(std::fabs(sensor.position[0] / r), 1.0) * (big - small);
    const double g = r * (screen.zoom - 1);
    const double span = std::max(2 * r - 2 * g, 1e-6);
    SensorAxes axes;
    axes.origin.x = (sensor.position[1] + r - g) / span * screen.width + screen.shiftX;
    axes.origin.y = (sensor.position[2] + r - g) / span * screen.height + screen.shiftY;
    // The matrix's rows are the sensor's axes; the screen shows their y and z.
    const vorn::attitude::Matrix3 rows = vorn::attitude::matrixOfRows(sensor.matrix);
    for (std::size_t k = 0; k < 3; ++k) {
        axes.ends[k].x = axes.origin.x + length * rows[k][1];
        axes.ends[k].y = axes.origin.y + length * rows[k][2];
    }
    return axes;
}

void BouncingBall::start(int width, int height)
{
    x = 10;
    y = 10;
    dx = 3 / std::sqrt(10.0);
    dy = 1 / std::sqrt(10.0);
    colour = 0;
    radius = std::max(std::min(width, height) / 100, 1);
}

void BouncingBall::move(int width, int height)
{
    x += radius * dx;
    y += radius * dy;
    if ((x < radius && dx < 0) || (x > width - radius && dx > 0))
        dx = -dx;
    if ((y < radius && dy < 0) || (y > height - radius && dy > 0))
        dy = -dy;
}

void BouncingBall::step(int width, int height, const std::vector<SensorAxes>& axes)
{
    radius = std::max(std::min(width, height) / 100, 1);
    move(width, height);
    const ScreenPoint centre {x, y};
    for (const SensorAxes& sensor : axes) {
        for (int k = 0; k < 3; ++k) {
            if (distanceToSegment(centre, sensor.origin, sensor.ends[static_cast<std::size_t>(k)]) <= radius) {
                colour = k;
                move(width, height);
                return;
            }
        }
    }
}

} // namespace vornscope

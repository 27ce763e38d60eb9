#include "config/sensor_keys.h"

#include "config/setting_keys.h"

#include <vector>

namespace vorn::sim {

namespace {

const std::vector<SettingKey<SensorConfig>>& sensorKeys()
{
    static const std::vector<SettingKey<SensorConfig>> keys = {
        {"trajectory", "still, circle, figure-eight or random-walk",
         [](SensorConfig& s, auto k, auto v) {
             return assign(trajectoryKindOfName(trim(v)), s.trajectory.kind, k, v);
         }},
        {"center", "x,y,z in inches: where the sensor is or circles around",
         [](SensorConfig& s, auto k, auto v) {
             const auto n = parseNumbers(v, 3);
             if (!n) {
                 return bad(k, v);
             }
             s.trajectory.center = {(*n)[0], (*n)[1], (*n)[2]};
             return std::string{};
         }},
        {"angles", "azimuth,elevation,roll in degrees: the sensor's base orientation",
         [](SensorConfig& s, auto k, auto v) {
             const auto n = parseNumbers(v, 3);
             if (!n) {
                 return bad(k, v);
             }
             s.trajectory.angles = {(*n)[0], (*n)[1], (*n)[2]};
             return std::string{};
         }},
        {"radius", "inches: circle radius, figure-eight half width, random-walk bound",
         [](SensorConfig& s, auto k, auto v) { return assign(parseNonNegative(v), s.trajectory.radius, k, v); }},
        {"period", "seconds per lap",
         [](SensorConfig& s, auto k, auto v) {
             return assign(parsePositive(v), s.trajectory.periodSeconds, k, v);
         }},
        {"position-noise", "standard deviation of position noise in inches",
         [](SensorConfig& s, auto k, auto v) { return assign(parseNonNegative(v), s.positionNoiseInches, k, v); }},
        {"angle-noise", "standard deviation of angle noise in degrees",
         [](SensorConfig& s, auto k, auto v) { return assign(parseNonNegative(v), s.angleNoiseDegrees, k, v); }},
    };
    return keys;
}

} // namespace

std::optional<std::string> applySensorSetting(SensorConfig& sensor, std::string_view key, std::string_view value)
{
    return applyKey<SensorConfig>(sensorKeys(), sensor, key, value);
}

std::string sensorSettingsHelp()
{
    return keysHelp<SensorConfig>(sensorKeys());
}

} // namespace vorn::sim

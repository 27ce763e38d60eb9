#include "settings/sensor_keys.h"

#include "settings/setting_keys.h"

#include <vector>

namespace vorn::sim {

namespace {

std::optional<Vector3> parseTriple(std::string_view text)
{
    const auto n = parseNumbers(text, 3);
    return n ? std::optional<Vector3>({(*n)[0], (*n)[1], (*n)[2]}) : std::nullopt;
}

const std::vector<SettingKey<SensorConfig>>& sensorKeys()
{
    static const std::vector<SettingKey<SensorConfig>> keys = {
        {"trajectory", "still, circle, figure-eight or random-walk",
         [](SensorConfig& s, auto k, auto v) {
             return assign(trajectoryKindOfName(trim(v)), s.trajectory.kind, k, v);
         }},
        {"center", "x,y,z in inches: where the sensor is or circles around",
         [](SensorConfig& s, auto k, auto v) { return assign(parseTriple(v), s.trajectory.center, k, v); }},
        {"angles", "azimuth,elevation,roll in degrees: the sensor's base orientation",
         [](SensorConfig& s, auto k, auto v) {
             const auto t = parseTriple(v);
             return assign(t ? std::optional<Angles>({(*t)[0], (*t)[1], (*t)[2]}) : std::nullopt, s.trajectory.angles,
                           k, v);
         }},
        {"radius", "inches: circle radius, figure-eight half width, random-walk bound",
         [](SensorConfig& s, auto k, auto v) { return assign(parseNonNegative(v), s.trajectory.radius, k, v); }},
        {"period", "seconds per lap",
         [](SensorConfig& s, auto k, auto v) { return assign(parsePositive(v), s.trajectory.periodSeconds, k, v); }},
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

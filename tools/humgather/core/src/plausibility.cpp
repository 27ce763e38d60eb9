#include "vorn/humgather/plausibility.h"

#include "vorn/console/number_picture.h"

namespace vorn::humgather {

PlausibilityReport checkPlausibility(const Statistics& s)
{
    PlausibilityReport report;
    auto add = [&report](std::initializer_list<const char*> lines) {
        report.lines.insert(report.lines.end(), lines.begin(), lines.end());
        report.badData = true;
    };
    if (s.mean < 0.05)
        add({"Possibly Bad Data. Mean is too small", "Verify sensor is not on or near metal",
             "and rotate sensor 90 degrees in azimuth", "to the direction it is currently pointing",
             "and collect data again.", ""});
    if (s.peakToPeak > 1.5 * s.mean)
        add({"Bad Data. Variation too large", "", "You must be disconnected from the network to go fast enough", ""});
    if (s.peakToPeak < 0.01 * s.mean)
        add({"Possibly Bad Data. Variation too small", "May just be the result of a lack of noise in your environment",
             ""});
    return report;
}

std::vector<std::string> noiseSummaryLines(const Statistics& s)
{
    const char* picture = "###.#### ";
    return {"   Mean    StdDev    PktoPk  of sensor data", console::formatPicture(s.mean, picture) +
                                                               console::formatPicture(s.standardDeviation, picture) +
                                                               console::formatPicture(s.peakToPeak, picture)};
}

} // namespace vorn::humgather

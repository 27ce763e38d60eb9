#include "vorn/humgather/pose_data_file.h"

#include "vorn/console/number_picture.h"

namespace vorn::humgather {

std::string poseDataLine(const std::array<double, 6>& values, std::optional<std::int16_t> alpha)
{
    std::string line;
    for (std::size_t i = 0; i < 5; ++i)
        line += console::formatPicture(values[i], "####.##,  ");
    if (alpha) {
        line += console::formatPicture(values[5], "####.##,  ");
        line += console::formatPicture(*alpha / 32768.0, "##.###");
    } else {
        line += console::formatPicture(values[5], "####.##");
    }
    return line + "\r\n";
}

} // namespace vorn::humgather

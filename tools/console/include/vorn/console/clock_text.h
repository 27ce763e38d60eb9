#pragma once
// The time and date as the tools print them in headers and plots.
#include <ctime>
#include <string>

namespace vorn::console {

std::string timeOfDayText(std::time_t when); // "hh:mm:ss", local time
std::string dateText(std::time_t when);      // "mm-dd-yyyy", local time

} // namespace vorn::console

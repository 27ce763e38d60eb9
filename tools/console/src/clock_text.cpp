#include "vorn/console/clock_text.h"

namespace vorn::console {

namespace {
std::string formatLocal(std::time_t when, const char* format)
{
    std::tm local {};
    localtime_r(&when, &local);
    char buffer[32];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &local);
    return std::string(buffer, n);
}
} // namespace

std::string timeOfDayText(std::time_t when)
{
    return formatLocal(when, "%H:%M:%S");
}
std::string dateText(std::time_t when)
{
    return formatLocal(when, "%m-%d-%Y");
}

} // namespace vorn::console

#pragma once
// Numbers formatted with a picture such as "####.##" or "###.#### ": each "#" is one place, the
// point places the decimal point, every other character is copied as it stands. The number is
// rounded to the decimal places and right-aligned in the field; a minus sign takes a place. A
// number too wide for its field is written whole with a leading "%", so it is never cut short.
#include <string>
#include <string_view>

namespace vorn::console {

std::string formatPicture(double value, std::string_view picture);

} // namespace vorn::console

// Data format codes and the number of 16-bit words a record of each carries.
#pragma once

#include <cstdint>

namespace vorn::protocol {

// Words per data format code 0..8; code 6 is not allowed and carries none.
int wordsForDataFormat(uint8_t dataFormat);

// True for the codes a unit can be set to and a record may carry: 0-5, 7, 8.
bool isValidDataFormat(uint8_t dataFormat);

} // namespace vorn::protocol

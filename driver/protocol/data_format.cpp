#include "protocol/data_format.h"

#include <array>

namespace vorn::protocol {

namespace {
constexpr std::array<int, 9> kWordsPerFormat = {0, 3, 3, 9, 6, 12, 0, 4, 7};
}

int wordsForDataFormat(uint8_t dataFormat)
{
    return dataFormat < kWordsPerFormat.size() ? kWordsPerFormat[dataFormat] : 0;
}

bool isValidDataFormat(uint8_t dataFormat)
{
    return dataFormat <= 8 && dataFormat != 6;
}

} // namespace vorn::protocol

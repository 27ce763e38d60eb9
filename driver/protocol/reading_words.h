// Moves a record's words into and out of a reading, in the order the data format carries them.
#pragma once

#include <vorn/vorn.h>

#include <cstddef>
#include <cstdint>
#include <span>

namespace vorn::protocol {

// Copies the reading's fields that `dataFormat` carries into `words` (which must hold
// wordsForDataFormat(dataFormat)); returns the count written.
std::size_t wordsOfReading(uint8_t dataFormat, const VornReading& reading, std::span<int16_t> words);

// Places `words` into the fields `dataFormat` carries; other fields are left as they are.
void placeWordsInReading(uint8_t dataFormat, std::span<const int16_t> words, VornReading& reading);

} // namespace vorn::protocol

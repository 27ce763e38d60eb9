#include "protocol/reading_words.h"

#include "protocol/data_format.h"

#include <algorithm>
#include <iterator>

namespace vorn::protocol {

namespace {

// Calls visit(field, count) for each field of the format, in record order.
template <typename Reading, typename Visit> void forEachField(uint8_t dataFormat, Reading& reading, Visit visit)
{
    const FormatFields fields = fieldsOfDataFormat(dataFormat);
    if (fields.position) {
        visit(reading.position, std::size(reading.position));
    }
    if (fields.angles) {
        visit(reading.angles, std::size(reading.angles));
    }
    if (fields.matrix) {
        visit(reading.matrix, std::size(reading.matrix));
    }
    if (fields.quaternion) {
        visit(reading.quaternion, std::size(reading.quaternion));
    }
}

} // namespace

std::size_t wordsOfReading(uint8_t dataFormat, const VornReading& reading, std::span<int16_t> words)
{
    std::size_t n = 0;
    forEachField(dataFormat, reading, [&](const int16_t* field, std::size_t count) {
        std::copy_n(field, count, words.begin() + static_cast<std::ptrdiff_t>(n));
        n += count;
    });
    return n;
}

void placeWordsInReading(uint8_t dataFormat, std::span<const int16_t> words, VornReading& reading)
{
    std::size_t n = 0;
    forEachField(dataFormat, reading, [&](int16_t* field, std::size_t count) {
        std::copy_n(words.begin() + static_cast<std::ptrdiff_t>(n), count, field);
        n += count;
    });
}

} // namespace vorn::protocol

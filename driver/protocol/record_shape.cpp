#include "protocol/record_shape.h"

#include "protocol/data_format.h"

namespace vorn::protocol {

std::size_t recordLength(Connection connection, const RecordShape& shape)
{
    const std::size_t wordBytes = 2 * static_cast<std::size_t>(wordsForDataFormat(shape.dataFormat));
    switch (connection) {
    case Connection::Rs232: return wordBytes + (shape.button ? 1 : 0) + (shape.tag ? 1 : 0);
    case Connection::Isa: return wordBytes + (shape.button ? 2 : 0) + (shape.tag ? 2 : 0);
    case Connection::Tcpip: return 2 + wordBytes + (shape.button ? 2 : 0);
    }
    return 0;
}

} // namespace vorn::protocol

#include "incoming_scanner.h"

#include <algorithm>
#include <cstring>

namespace vornigtl {

IncomingScanner::Verdict IncomingScanner::feed(const uint8_t* bytes, std::size_t size,
                                               std::vector<MessageHeader>& headers)
{
    while (size > 0) {
        if (bodyLeft_ > 0) {
            const auto skip = static_cast<std::size_t>(std::min<uint64_t>(bodyLeft_, size));
            bodyLeft_ -= skip;
            bytes += skip;
            size -= skip;
            continue;
        }
        const std::size_t take = std::min(kHeaderSize - headerFill_, size);
        std::memcpy(header_.data() + headerFill_, bytes, take);
        headerFill_ += take;
        bytes += take;
        size -= take;
        if (headerFill_ < kHeaderSize)
            break;
        headerFill_ = 0;
        auto header = decodeHeader(header_.data());
        if (!header)
            return Verdict::Garbage;
        if (header->bodySize > maxBodySize_)
            return Verdict::Oversized;
        bodyLeft_ = header->bodySize;
        ++messages_;
        headers.push_back(std::move(*header));
    }
    return Verdict::Fine;
}

} // namespace vornigtl

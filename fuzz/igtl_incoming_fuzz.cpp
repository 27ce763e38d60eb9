// Feeds arbitrary bytes, in arbitrary pieces, to what vorn-igtl reads from
// its clients. Whatever arrives, the scanner keeps at most one header, its
// verdict is final, and every header it hands out was a whole, sane one.
#include "incoming_scanner.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the piece size, as the network splits at will.
    const std::size_t piece = 1 + data[0] % 97;
    vornigtl::IncomingScanner scanner(1 << 16);
    std::vector<vornigtl::MessageHeader> headers;
    for (std::size_t at = 1; at < size; at += piece) {
        const auto verdict = scanner.feed(data + at, std::min(piece, size - at), headers);
        if (verdict != vornigtl::IncomingScanner::Verdict::Fine)
            break;
    }
    check(headers.size() == scanner.messages());
    for (const auto& header : headers) {
        check(!header.type.empty() && header.type.size() <= 12);
        check(header.deviceName.size() <= 20);
        check(header.bodySize <= (1u << 16));
    }
    return 0;
}

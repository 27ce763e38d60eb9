#include "vorn/console/key_decoder.h"

#include <cctype>

namespace vorn::console {

bool Key::isLetter(char upper) const
{
    return kind == KeyKind::Character &&
           std::toupper(static_cast<unsigned char>(character)) == std::toupper(static_cast<unsigned char>(upper));
}

namespace {

KeyKind finalToKind(char final)
{
    switch (final) {
    case 'A': return KeyKind::Up;
    case 'B': return KeyKind::Down;
    case 'C': return KeyKind::Right;
    case 'D': return KeyKind::Left;
    default: return KeyKind::Other;
    }
}

KeyKind tildeToKind(const std::string& params)
{
    if (params == "5")
        return KeyKind::PageUp;
    if (params == "6")
        return KeyKind::PageDown;
    return KeyKind::Other;
}

} // namespace

std::optional<DecodedKey> decodeKey(const std::string& bytes, bool complete)
{
    if (bytes.empty())
        return std::nullopt;
    if (bytes[0] != '\x1b')
        return DecodedKey {Key::of(bytes[0]), 1};
    if (bytes.size() == 1) {
        if (complete)
            return DecodedKey {Key::of('\x1b'), 1};
        return std::nullopt;
    }
    if (bytes[1] != '[' && bytes[1] != 'O')
        return DecodedKey {Key::of('\x1b'), 1};
    // CSI or SS3: parameters (digits and ';') then one final byte.
    std::size_t i = 2;
    while (i < bytes.size() && (std::isdigit(static_cast<unsigned char>(bytes[i])) || bytes[i] == ';'))
        ++i;
    if (i >= bytes.size()) {
        if (complete)
            return DecodedKey {Key {KeyKind::Other, 0}, bytes.size()};
        return std::nullopt;
    }
    const char final = bytes[i];
    const std::string params = bytes.substr(2, i - 2);
    const KeyKind kind = final == '~' ? tildeToKind(params) : finalToKind(final);
    return DecodedKey {Key {kind, 0}, i + 1};
}

} // namespace vorn::console

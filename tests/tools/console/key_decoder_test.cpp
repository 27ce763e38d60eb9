#include <gtest/gtest.h>

#include "vorn/console/key_decoder.h"

namespace vorn::console {
namespace {

TEST(KeyDecoder, DecodesCharactersAndTerminalSequences)
{
    const std::tuple<const char*, KeyKind, std::size_t> cases[] = {
        {"q", KeyKind::Character, 1},       {"\x1b[A", KeyKind::Up, 3},    {"\x1b[B", KeyKind::Down, 3},
        {"\x1b[C", KeyKind::Right, 3},      {"\x1bOD", KeyKind::Left, 3},  {"\x1b[5~", KeyKind::PageUp, 4},
        {"\x1b[6~x", KeyKind::PageDown, 4}, {"\x1b[1;5A", KeyKind::Up, 6}, {"\x1b[3~", KeyKind::Other, 4},
    };
    for (const auto& [bytes, kind, length] : cases) {
        const auto key = decodeKey(bytes, false);
        ASSERT_TRUE(key) << bytes;
        EXPECT_EQ(key->key.kind, kind) << bytes;
        EXPECT_EQ(key->length, length) << bytes;
    }
}

TEST(KeyDecoder, WaitsForTheRestOfASequenceUnlessInputIsComplete)
{
    EXPECT_FALSE(decodeKey("\x1b", false));
    EXPECT_FALSE(decodeKey("\x1b[", false));
    EXPECT_FALSE(decodeKey("", true));
    const auto escape = decodeKey("\x1b", true);
    ASSERT_TRUE(escape);
    EXPECT_TRUE(escape->key.kind == KeyKind::Character && escape->key.character == '\x1b');
    EXPECT_TRUE(decodeKey("m", false)->key.isLetter('M'));
    EXPECT_FALSE(decodeKey("n", false)->key.isLetter('M'));
}

} // namespace
} // namespace vorn::console

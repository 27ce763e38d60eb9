// Command bytes, parameters, mappings to commands, address prefixes and word orders.
#include "protocol/commands.h"
#include "protocol/data_format.h"
#include "protocol/fvb_prefix.h"
#include "protocol/hemisphere.h"
#include "protocol/parameters.h"
#include "protocol/report_rate.h"
#include "protocol/word_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace vp = vorn::protocol;
using vp::Command;
using vp::Connection;

TEST(IsaWords, PairsBytesHighFirstWithOddLastByteInHighHalf)
{
    const uint8_t command[] = {0x50, 0x23, 0x01};
    std::array<uint16_t, 2> words {};
    ASSERT_EQ(vp::packIsaWords(command, words), 2u);
    EXPECT_EQ(words[0], 0x5023);
    EXPECT_EQ(words[1], 0x0100);
    std::array<uint8_t, 4> back {};
    ASSERT_EQ(vp::unpackIsaWords(words, back), 4u);
    EXPECT_EQ(back, (std::array<uint8_t, 4> {0x50, 0x23, 0x01, 0x00}));
}

TEST(WordOrder, SerialIsLowFirstIsaAndTcpipHighFirst)
{
    struct Case {
        Connection link;
        std::array<uint8_t, 2> bytes;
    };
    for (const auto& c : {Case {Connection::Rs232, {0x34, 0x12}}, Case {Connection::Isa, {0x12, 0x34}},
                          Case {Connection::Tcpip, {0x12, 0x34}}}) {
        std::array<uint8_t, 2> out {};
        vp::putWord(c.link, 0x1234, out.data());
        EXPECT_EQ(out, c.bytes);
        EXPECT_EQ(vp::readWord(c.link, c.bytes.data()), 0x1234);
    }
}

TEST(FvbPrefix, FollowsTheMastersAddressingMode)
{
    struct Case {
        uint8_t mode;
        uint8_t address;
        std::vector<uint8_t> bytes; // empty: the mode cannot reach the address
    };
    const Case cases[] = {
        {0, 0, {0xF0}},  {0, 2, {0xF2}}, {0, 15, {0xFF}},   {0, 16, {}},           {1, 15, {0xFF}}, {1, 16, {0xE0}},
        {1, 30, {0xEE}}, {1, 31, {}},    {2, 1, {0xA0, 1}}, {2, 126, {0xA0, 126}}, {2, 0, {}},      {2, 127, {}},
    };
    for (const auto& c : cases) {
        const auto prefix = vp::fvbPrefix(c.mode, c.address);
        if (c.bytes.empty()) {
            EXPECT_FALSE(prefix) << int(c.mode) << "/" << int(c.address);
            continue;
        }
        ASSERT_TRUE(prefix) << int(c.mode) << "/" << int(c.address);
        const auto view = prefix->view();
        EXPECT_EQ(std::vector<uint8_t>(view.begin(), view.end()), c.bytes);
        const auto match = vp::matchFvbPrefix(view);
        EXPECT_EQ(match.kind, vp::FvbPrefixMatch::Kind::Prefix);
        EXPECT_EQ(match.address, c.address);
        EXPECT_EQ(match.length, c.bytes.size());
    }
}

TEST(FvbPrefix, MasterTellsCommandsIncompleteAndImpossiblePrefixes)
{
    using Kind = vp::FvbPrefixMatch::Kind;
    const uint8_t command[] = {0x42};
    EXPECT_EQ(vp::matchFvbPrefix(command).kind, Kind::NoPrefix);
    const uint8_t half[] = {0xA0};
    EXPECT_EQ(vp::matchFvbPrefix(half).kind, Kind::NeedMore);
    const uint8_t beyondExpanded[] = {0xEF};
    EXPECT_EQ(vp::matchFvbPrefix(beyondExpanded).kind, Kind::Invalid);
    const uint8_t superZero[] = {0xA0, 0};
    const auto match = vp::matchFvbPrefix(superZero);
    EXPECT_EQ(match.kind, Kind::Invalid);
    EXPECT_EQ(match.length, 2u);
}

TEST(DataFormat, MapsCodesToCommandsAndBack)
{
    const std::array<std::pair<uint8_t, char>, 7> table = {
        {{1, 'V'}, {2, 'W'}, {3, 'X'}, {4, 'Y'}, {5, 'Z'}, {7, '\\'}, {8, ']'}}};
    for (const auto& [format, character] : table) {
        const auto command = vp::dataFormatCommand(format);
        ASSERT_TRUE(command);
        EXPECT_EQ(vp::toByte(*command), static_cast<uint8_t>(character));
        EXPECT_EQ(vp::dataFormatOfCommand(static_cast<uint8_t>(character)), format);
    }
    for (uint8_t format : {0, 6, 9}) {
        EXPECT_FALSE(vp::dataFormatCommand(format)) << int(format);
    }
    EXPECT_FALSE(vp::isValidDataFormat(6));
    EXPECT_FALSE(vp::isValidDataFormat(9));
}

TEST(ReportRate, OnlyOneTwoEightThirtyTwo)
{
    const std::array<std::pair<uint8_t, char>, 4> table = {{{1, 'Q'}, {2, 'R'}, {8, 'S'}, {32, 'T'}}};
    for (const auto& [rate, character] : table) {
        EXPECT_EQ(vp::toByte(*vp::reportRateCommand(rate)), static_cast<uint8_t>(character));
        EXPECT_EQ(vp::reportRateOfCommand(static_cast<uint8_t>(character)), rate);
    }
    for (uint8_t rate : {0, 3, 4, 16, 64}) {
        EXPECT_FALSE(vp::reportRateCommand(rate)) << int(rate);
    }
}

TEST(Hemisphere, ArgumentPairs)
{
    const std::array<std::array<uint8_t, 2>, 6> expected = {
        {{0x00, 0x00}, {0x00, 0x01}, {0x0C, 0x01}, {0x0C, 0x00}, {0x06, 0x01}, {0x06, 0x00}}};
    for (uint8_t code = 0; code < 6; ++code) {
        EXPECT_EQ(vp::hemisphereArguments(code), expected[code]);
        EXPECT_EQ(vp::hemisphereOfArguments(expected[code][0], expected[code][1]), code);
    }
    EXPECT_FALSE(vp::hemisphereArguments(6));
    EXPECT_FALSE(vp::hemisphereOfArguments(0x01, 0x00));
}

TEST(Parameters, AnswerLengthsAndValueWidths)
{
    struct Case {
        uint8_t number;
        uint8_t mode;
        std::optional<std::size_t> rs232Answer;
        std::optional<std::size_t> isaAnswer;
        std::optional<std::size_t> rs232Value;
        std::optional<std::size_t> isaValue;
    };
    const Case cases[] = {
        {0, 0, 2, 2, {}, {}},    {4, 0, 2, 2, 2, 2},        {5, 0, 14, 14, 14, 14},  {8, 0, {}, {}, 1, 2},
        {10, 0, 1, 2, {}, {}},   {11, 0, 1, 2, 1, 1},       {15, 0, 10, 10, {}, {}}, {17, 0, 1, 2, 1, 2},
        {19, 0, 1, 2, {}, {}},   {28, 0, 10, 10, 10, 10},   {35, 0, 1, 2, 1, 2},     {36, 0, 14, 14, {}, {}},
        {36, 1, 30, 30, {}, {}}, {36, 2, 126, 126, {}, {}}, {50, 0, 5, 6, 1, 2},     {50, 1, 7, 8, 1, 2},
        {9, 0, {}, {}, {}, {}},  {200, 0, {}, {}, {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vp::examineAnswerBytes(c.number, c.mode), c.rs232Answer) << int(c.number);
        EXPECT_EQ(vp::isaAnswerBytes(c.number, c.mode), c.isaAnswer) << int(c.number);
        EXPECT_EQ(vp::changeValueBytes(c.number, Connection::Rs232), c.rs232Value) << int(c.number);
        EXPECT_EQ(vp::changeValueBytes(c.number, Connection::Isa), c.isaValue) << int(c.number);
    }
}

TEST(Parameters, NamesAsTheMenusShowThem)
{
    EXPECT_EQ(vp::findParameter(0)->name, "Vorn Status");
    EXPECT_EQ(vp::findParameter(8)->name, "enable/disable data rdy chr");
    EXPECT_EQ(vp::findParameter(50)->name, "FVB Auto Configuration");
    uint8_t previous = 0;
    for (const auto& info : vp::parameterTable()) {
        EXPECT_FALSE(info.name.empty());
        EXPECT_TRUE(previous == 0 || vp::toByte(info.parameter) > previous);
        previous = vp::toByte(info.parameter);
    }
}

TEST(Commands, NamesAndArgumentCounts)
{
    EXPECT_EQ(vp::commandName(0x40), "stream");
    EXPECT_EQ(vp::commandName(0x99), "");
    EXPECT_EQ(vp::commandArgumentBytes(vp::toByte(Command::Hemisphere)), 2);
    EXPECT_EQ(vp::commandArgumentBytes(vp::toByte(Command::ReferenceFrame)), 6);
    EXPECT_EQ(vp::commandArgumentBytes(vp::toByte(Command::ChangeValue)), -1);
    EXPECT_EQ(vp::commandArgumentBytes(0x99), -1);
}

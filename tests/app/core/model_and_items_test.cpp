#include "core/group_ids.h"
#include "core/model_codes.h"
#include "core/named_mutex.h"
#include "core/text_items.h"

#include <gtest/gtest.h>

namespace vornscope {
namespace {

TEST(ModelCodes, ByModelStringAndByControllerType)
{
    const std::pair<const char*, int> strings[] = {
        {"6DKVA     ", 0},  {"6DKVS     ", 1}, {"PELLVORN2 ", 2},  {"PELLVORN2R", 2}, {"PELLVORN2X", 2},
        {"PCVORN    ", 3},  {"6DKVB     ", 4}, {"VELMORASTA", 4},  {"CORDFREE  ", 5}, {"QUARVELO  ", 6},
        {"6DKVR     ", 10}, {"6DKVA", 11},     {"6dkva     ", 11}, {"", 11},
    };
    for (const auto& [text, code] : strings)
        EXPECT_EQ(modelCodeFromString(text), code) << '"' << text << '"';
    const int byStatus2[] = {11, 0, 10, 4, 3, 6, 4, 11};
    for (int status2 = 0; status2 < 8; ++status2)
        EXPECT_EQ(modelCodeFromStatus2(static_cast<std::uint8_t>(status2)), byStatus2[status2]) << status2;
}

TEST(ModelCodes, DistortionSupportByFirmwareRevision)
{
    const std::tuple<std::uint16_t, bool, bool> revisions[] = {
        // revision, detection supported, record read back at wake-up
        {0x0343, false, false}, {0x034F, false, false}, {0x0350, true, false},
        {0x0352, true, false},  {0x0353, true, true},   {0x0363, true, true},
        {0x150E, false, false}, {0x150F, true, false},  {0x0450, false, false},
    };
    for (const auto& [revision, supported, readable] : revisions) {
        EXPECT_EQ(supportsDistortionDetection(revision), supported) << std::hex << revision;
        EXPECT_EQ(hasReadableDistortionRecord(revision), readable) << std::hex << revision;
    }
}

TEST(TextItems, SamePlaceReplacesInPlaceAndReportsTheOldItem)
{
    TextItemList list;
    EXPECT_FALSE(list.add({"Waking up vorn...", 5, 5}));
    EXPECT_FALSE(list.add({"      Sensor 1", 5, 20}));
    const auto old = list.add({"Setup complete", 5, 5});
    ASSERT_TRUE(old);
    EXPECT_EQ(old->text, "Waking up vorn...");
    ASSERT_EQ(list.items().size(), 2u);
    EXPECT_EQ(list.items()[0].text, "Setup complete"); // kept its place in the order
    EXPECT_EQ(list.items()[0].background, 0xFFFFFFu);
}

TEST(GroupIds, EachCallTakesTheNextNumber)
{
    const int first = nextGroupId();
    EXPECT_GE(first, 1);
    EXPECT_EQ(nextGroupId(), first + 1);
}

TEST(NamedMutex, SameNameSameMutexWhileHeld)
{
    auto a = openNamedMutex(viewMutexName(7));
    auto b = openNamedMutex("MutexSyncHwnd7");
    EXPECT_EQ(a, b);
    EXPECT_NE(a, openNamedMutex(viewMutexName(8)));
    std::lock_guard outer(*a);
    std::lock_guard inner(*b); // recursive for its owner, like the platform's named mutexes
}

} // namespace
} // namespace vornscope

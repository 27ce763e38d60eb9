#include "library_messages.h"

#include <gtest/gtest.h>

namespace vornctl {
namespace {

TEST(VornctlLibraryMessages, OneByteIsSingularAndEverythingElseStaysAsTheLibrarySaidIt)
{
    EXPECT_EQ(readableLibraryMessage("Unable to read 1 bytes from vorn #1."), "Unable to read 1 byte from vorn #1.");
    EXPECT_EQ(readableLibraryMessage("Unable to write 1 bytes to vorn #2."), "Unable to write 1 byte to vorn #2.");
    for (const char* kept : {"Unable to read 11 bytes from vorn #1.", "Unable to read 13 bytes from vorn #2.",
                             "Unable to get frame data from master vorn."})
        EXPECT_EQ(readableLibraryMessage(kept), kept);
}

} // namespace
} // namespace vornctl

// The library's own messages as the tools show them: not at all once the
// user asked to stop (a cancelled wait is no failure), with the count in
// "1 bytes" put right, and the last one kept so that a tool can explain it.
#pragma once

#include <functional>
#include <string>

namespace vornctl {

// Routes the library's messages (vornDisplayErrorDialogs must be on) to
// `show`; an empty function prints them on standard error.
void showLibraryMessages(std::function<void(const std::string&)> show = {});

// "Unable to read 1 bytes ..." reads "Unable to read 1 byte ...".
std::string readableLibraryMessage(std::string message);

// The last message the library reported, shown or not.
std::string lastLibraryMessage();

} // namespace vornctl

// The server's log: one line per event on standard error, which systemd's
// journal keeps. Both the acquisition and the network thread write to it.
#pragma once

#include <string>

namespace vornigtl {

void logLine(const std::string& text);
void setLogQuiet(bool quiet); // leaves errors only

void logError(const std::string& text);

} // namespace vornigtl

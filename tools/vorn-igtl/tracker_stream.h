// The acquisition side: wakes the group, streams frames into the server until
// a stop request, the end of --count/--duration, or a failure, tells clients
// what happens through STATUS messages, and shuts the group down.
#pragma once

#include "igtl_server.h"
#include "options.h"

namespace vornigtl {

// Returns vornctl's exit codes: 0, 1 failure while streaming, 3 no group.
int streamToClients(const vornctl::Options& options, IgtlServer& server);

} // namespace vornigtl

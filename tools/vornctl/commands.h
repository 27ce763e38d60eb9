// The commands of vornctl; each returns an exit status (exit_codes.h).
#pragma once

#include "options.h"

namespace vornctl {

int runInfo(const Options& options);
int runSet(const Options& options);
int runReading(const Options& options);
int runFrame(const Options& options);
int runStream(const Options& options);
int runDemo(const Options& options);
int runRecord(const Options& options);
struct ScanOptions;
int runScan(const ScanOptions& options);

class GroupSession;
// Wakes the group, reads its configuration and applies the options'
// settings; kExitOk or the status to end with.
int prepareGroup(GroupSession& session, const Options& options);

} // namespace vornctl

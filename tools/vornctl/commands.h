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

} // namespace vornctl

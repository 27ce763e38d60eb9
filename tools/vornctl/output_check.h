// Whether the output reached its file: a full disk or a closed descriptor
// is an error to report; a reader that went away (a pipe into `head`) is
// the end of the job, not an error.
#pragma once

#include <cstdio>

namespace vornctl {

enum class OutputState { Written, ReaderGone, Failed };

// Flushes `out` and tells what became of everything written to it so far.
// Failed is reported on standard error (once) in `program`'s name.
OutputState flushOutput(std::FILE* out, const char* program = "vornctl");

// Makes writes to a pipe whose reader has gone fail with EPIPE instead of
// killing the program, and keeps descriptors 0-2 taken so that no line or
// socket opened later becomes standard output. Returns false (after saying
// so) when standard output is closed.
bool prepareStandardStreams(const char* program = "vornctl");

} // namespace vornctl

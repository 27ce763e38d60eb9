#pragma once

#include <cstdio>

namespace vornctl {

void printUsage(std::FILE* out);

} // namespace vornctl

// A broken promise of the code under fuzzing: abort, so libFuzzer keeps the input.
#pragma once

#include <cstdlib>

namespace vorn::fuzz {

inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace vorn::fuzz

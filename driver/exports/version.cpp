#include <vorn/vorn.h>

#include <cstring>

namespace {
constexpr char kVersionText[] = "3.07";
}

extern "C" void vornGetDllVersion(char* buffer)
{
    if (buffer != nullptr)
        std::memcpy(buffer, kVersionText, sizeof kVersionText);
}

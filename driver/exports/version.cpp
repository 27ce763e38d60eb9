#include "vorn_version.h"

#include <vorn/vorn.h>

#include <cstring>

extern "C" void vornGetDllVersion(char* buffer)
{
    static_assert(sizeof VORN_VERSION_TEXT == 5, "callers reserve 5 bytes for the version text");
    if (buffer != nullptr)
        std::memcpy(buffer, VORN_VERSION_TEXT, sizeof VORN_VERSION_TEXT);
}

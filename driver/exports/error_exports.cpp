#include "group/error_reporter.h"

#include <vorn/vorn.h>

extern "C" {

void vornDisplayErrorDialogs(int show)
{
    vorn::setErrorDialogs(show != 0);
}

int vornGetErrorCode(void)
{
    return vorn::takeErrorCode();
}

} // extern "C"

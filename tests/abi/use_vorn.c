/* A plain C program against the installed headers and library. */
#include <vorn/vorn.h>
#include <vorn/vorn_host.h>

#include <stdio.h>
#include <string.h>

static int reported;

static void onMessage(const char* message, void* context)
{
    (void)context;
    reported = strstr(message, "vornGetFrame()") != NULL;
}

int main(void)
{
    char version[5];
    VornFrame frame;
    vornGetDllVersion(version);
    vornDisplayErrorDialogs(1);
    vornHostSetMessageHandler(onMessage, NULL);
    if (vornGetFrame(300, &frame) != 0 || vornGetErrorCode() != VORN_ERR_FAILED || !reported) {
        fprintf(stderr, "unexpected result from vornGetFrame\n");
        return 1;
    }
    if (vornHostPump(1) != 1)
        return 1;
    printf("libvorn %s works from C\n", version);
    return 0;
}

// The host-integration exports of vorn_host.h.
#include "group/error_reporter.h"
#include "platform/pump_wait.h"
#include "platform/thread_context.h"

#include <vorn/vorn_host.h>

using vorn::platform::ThreadContext;

extern "C" {

void vornHostSetPumpHook(VornPumpHook hook, void* context)
{
    ThreadContext::current()->setPumpHook(hook, context);
}

VornThreadToken vornHostThreadToken(void)
{
    return ThreadContext::current()->token();
}

int vornHostPostQuit(VornThreadToken thread)
{
    return ThreadContext::postQuit(thread) ? 1 : 0;
}

int vornHostTakeQuit(void)
{
    return ThreadContext::current()->takeQuit() ? 1 : 0;
}

int vornHostTimerFd(void)
{
    return ThreadContext::current()->timerFd();
}

void vornHostDispatch(void)
{
    ThreadContext::current()->runDueTimers();
}

int vornHostPump(uint32_t milliseconds)
{
    return vorn::platform::PumpWait::forMilliseconds(milliseconds) ? 1 : 0;
}

void vornHostSetMessageHandler(VornMessageHandler handler, void* context)
{
    vorn::setMessageHandler(handler, context);
}

} // extern "C"

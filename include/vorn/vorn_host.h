/*
 * vorn_host.h - how a program lives together with libvorn's waits and timers.
 *
 * Several library calls wait: a wake-up about 5.6 s, a stream stop 1 s, and
 * every serial or ISA read up to its time-out. Those waits block the calling
 * thread (they never spin) and, every few milliseconds, run one "pump step"
 * of that thread:
 *   1. the library timers of this thread that are due (the frame-ready timer,
 *      which calls the frame-ready callbacks of vorn.h), then
 *   2. the pump hook that this thread installed, if any.
 *
 * The frame-ready timer belongs to the thread that woke up the first group.
 * Its callbacks run only on that thread and only inside pump steps: during a
 * waiting library call, vornHostPump(), or vornHostDispatch(). A callback is
 * skipped while a call of its own group is running, so it never reads the
 * line a waiting call is reading.
 *
 * THREADS. Unless a function says otherwise it acts on the calling thread
 * only. Only vornHostPostQuit() may be called for another thread. Like all of
 * libvorn, these functions take no lock for the groups: serialise library
 * calls as vorn.h says.
 */
#ifndef VORN_VORN_HOST_H
#define VORN_VORN_HOST_H

#include <vorn/vorn.h>

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* (a) Pump hook: called once per pump step of the thread that installed it,
 * so a GUI can process its events during long library waits. The hook may
 * call libvorn; it must not block. NULL removes it. */
typedef void (*VornPumpHook)(void* context);
VORN_API void vornHostSetPumpHook(VornPumpHook hook, void* context);

/* (b) Quit: makes waiting calls on a thread give up. vornHostThreadToken()
 * names the calling thread. vornHostPostQuit() may be called from any thread
 * (but not from a signal handler: it takes a lock):
 * the named thread's current wait ends within a pump step, and the waiting
 * call fails (returns 0) without a message. The quit stays pending, so every
 * later wait on that thread fails at once too, until that thread takes it
 * back with vornHostTakeQuit(). PostQuit returns 1, or 0 when the thread has
 * ended. TakeQuit returns 1 if a quit was pending on the calling thread. */
typedef uint64_t VornThreadToken;
VORN_API VornThreadToken vornHostThreadToken(void);
VORN_API int vornHostPostQuit(VornThreadToken thread);
VORN_API int vornHostTakeQuit(void);

/* (c) For a program with its own event loop (poll, epoll, a GUI's socket
 * notifier): vornHostTimerFd() returns a descriptor that becomes readable
 * when a library timer of the calling thread is due; watch it for reading on
 * that thread and call vornHostDispatch() there when it is readable. The
 * descriptor belongs to the library: never read or close it. Returns -1 if
 * the system refuses one. vornHostDispatch() runs the due timers of the
 * calling thread (frame-ready callbacks) and re-arms the descriptor; it does
 * not call the pump hook. */
VORN_API int vornHostTimerFd(void);
VORN_API void vornHostDispatch(void);

/* For a program without an event loop: waits `milliseconds` in pump steps,
 * so frame-ready callbacks of this thread run meanwhile. Returns 1 when the
 * time has passed, 0 at once if a quit is pending on this thread. */
VORN_API int vornHostPump(uint32_t milliseconds);

/* (d) Error dialogs: while vornDisplayErrorDialogs() is on, each failure's
 * message is passed to this handler (on the thread of the failing call)
 * instead of being written as one line to standard error. The text is valid
 * only during the call. NULL restores standard error. Process-wide. */
typedef void (*VornMessageHandler)(const char* message, void* context);
VORN_API void vornHostSetMessageHandler(VornMessageHandler handler, void* context);

#ifdef __cplusplus
}
#endif

#endif /* VORN_VORN_HOST_H */

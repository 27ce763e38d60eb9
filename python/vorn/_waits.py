"""Ctrl-C (or SIGTERM with a Python handler) during a waiting library call.

The library's waits block in C, where Python cannot run its signal handlers,
and an exception raised inside a ctypes callback is only printed and lost. So
for the length of each call made on the main thread a handler of ours stands
in for the program's: it only notes the signal and asks the library to give
up (the library's quit), and a pump hook lets the interpreter run that handler
every few milliseconds while the library waits. After the call the program's
own handler gets the signal: by default KeyboardInterrupt, raised where the
program called.
"""

import ctypes
import signal
import threading

_PumpHook = ctypes.CFUNCTYPE(None, ctypes.c_void_p)
_SIGNALS = (signal.SIGINT, signal.SIGTERM)


class InterruptibleWaits:
    def __init__(self, lib):
        self._lib = lib
        lib.vornHostSetPumpHook.restype = None
        lib.vornHostSetPumpHook.argtypes = [_PumpHook, ctypes.c_void_p]
        lib.vornHostThreadToken.restype = ctypes.c_uint64
        lib.vornHostThreadToken.argtypes = []
        lib.vornHostPostQuit.restype = ctypes.c_int
        lib.vornHostPostQuit.argtypes = [ctypes.c_uint64]
        lib.vornHostTakeQuit.restype = ctypes.c_int
        lib.vornHostTakeQuit.argtypes = []
        # Running any Python code is enough: the interpreter calls pending
        # signal handlers before the hook's body.
        self._hook = _PumpHook(lambda _context: None)
        self._main_token = None
        self._caught = None

    def during_call(self):
        """A context for one library call; deliver() afterwards hands a caught signal on."""
        return _CallScope(self)

    def _install_hook(self):
        if self._main_token is None:
            self._lib.vornHostSetPumpHook(self._hook, None)
            self._main_token = self._lib.vornHostThreadToken()

    def _on_signal(self, number, _frame):
        if self._caught is None:
            self._caught = number
            self._lib.vornHostPostQuit(self._main_token)


class _CallScope:
    def __init__(self, waits):
        self._waits = waits
        self._previous = {}
        self._caught = None

    def __enter__(self):
        if threading.current_thread() is not threading.main_thread():
            return self  # signal handlers run on the main thread only
        self._waits._install_hook()
        self._waits._caught = None
        for number in _SIGNALS:
            handler = signal.getsignal(number)
            if callable(handler):  # SIG_DFL and SIG_IGN keep acting on their own
                self._previous[number] = handler
                signal.signal(number, self._waits._on_signal)
        return self

    def __exit__(self, *_exception):
        for number, handler in self._previous.items():
            signal.signal(number, handler)
        self._caught, self._waits._caught = self._waits._caught, None
        if self._caught is not None:
            self._waits._lib.vornHostTakeQuit()  # later calls wait normally again
        return False

    @property
    def interrupted(self):
        return self._caught is not None

    def deliver(self):
        """Gives a signal caught during the call to the program's own handler."""
        if self._caught is not None:
            signal.raise_signal(self._caught)

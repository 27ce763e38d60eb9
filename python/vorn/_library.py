"""Loads libvorn.so, declares the exports and turns every failure into an exception."""

import ctypes
import os
import threading

from ._waits import InterruptibleWaits
from .errors import error_class
from .records import DeviceConfig, Frame, Reading, SystemConfig

_SONAME = "libvorn.so.3"


def _load():
    # VORN_LIBRARY names a library outside the linker's path (a build tree, a test).
    path = os.environ.get("VORN_LIBRARY") or _SONAME
    try:
        return ctypes.CDLL(path)
    except OSError as error:
        raise ImportError(f"vorn: cannot load {path} ({error}); install libvorn3 or set VORN_LIBRARY") from None


lib = _load()

_i, _u16, _u32, _p = ctypes.c_int, ctypes.c_uint16, ctypes.c_uint32, ctypes.POINTER
_PROTOTYPES = {
    "vornTCPIPWakeUp": (_i, [_i, ctypes.c_char_p, _u16, _i]),
    "vornRS232WakeUp": (_i, [_i, _i, _i, _p(_u16), _u32, _u32, _u32]),
    "vornISAWakeUp": (_i, [_i, _i, _i, _p(_u16), _u32, _u32]),
    "vornPV2WakeUp": (_i, [_i, _u16, _u32, _u32]),
    "vornShutDown": (None, [_i]),
    "vornGetSystemConfig": (_i, [_i, _p(SystemConfig)]),
    "vornSetSystemConfig": (_i, [_i, _p(SystemConfig)]),
    "vornGetDeviceConfig": (_i, [_i, _i, _p(DeviceConfig)]),
    "vornSetDeviceConfig": (_i, [_i, _i, _p(DeviceConfig)]),
    "vornStartReading": (_i, [_i, _i]),
    "vornGetReading": (_i, [_i, _i, _p(Reading)]),
    "vornStartSingleFrame": (_i, [_i]),
    "vornStartFrameStream": (_i, [_i]),
    "vornGetFrame": (_i, [_i, _p(Frame)]),
    "vornGetMostRecentFrame": (_i, [_i, _p(Frame)]),
    "vornStopFrameStream": (_i, [_i]),
    "vornRS232SetGroupMode": (_i, [_i, _i]),
    "vornRS232GroupModeEnabled": (_i, [_i]),
    "vornDisplayErrorDialogs": (None, [_i]),
    "vornGetErrorCode": (_i, []),
    "vornGetDllVersion": (None, [ctypes.c_char_p]),
}
for _name, (_result, _arguments) in _PROTOTYPES.items():
    _function = getattr(lib, _name)
    _function.restype = _result
    _function.argtypes = _arguments

_MessageHandler = ctypes.CFUNCTYPE(None, ctypes.c_char_p, ctypes.c_void_p)
lib.vornHostSetMessageHandler.restype = None
lib.vornHostSetMessageHandler.argtypes = [_MessageHandler, ctypes.c_void_p]

# The library keeps no message text: collect what it reports during a call.
# Messages arrive on the thread of the failing call.
_messages = threading.local()


@_MessageHandler
def _on_message(text, _context):
    bucket = getattr(_messages, "bucket", None)
    if bucket is not None:
        bucket.append(text.decode("latin-1"))


lib.vornHostSetMessageHandler(_on_message, None)
lib.vornDisplayErrorDialogs(1)


_waits = InterruptibleWaits(lib)


def call(name, *arguments):
    """Calls an export that returns a success flag; raises on failure. A
    Ctrl-C while the call waits ends it and raises KeyboardInterrupt here."""
    _messages.bucket = []
    lib.vornGetErrorCode()  # start from a clean code
    with _waits.during_call() as scope:
        try:
            result = getattr(lib, name)(*arguments)
            code = lib.vornGetErrorCode()
            messages = _messages.bucket
        finally:
            _messages.bucket = None
    scope.deliver()
    if result == 0:
        error = error_class(code)(name, code, messages)
        if scope.interrupted:
            error.add_reason("interrupted by a signal")
        raise error
    return result


def shut_down(group):
    """Shuts a group down; harmless for one that is not awake."""
    with _waits.during_call() as scope:
        lib.vornShutDown(group)
    scope.deliver()


def version():
    buffer = ctypes.create_string_buffer(8)
    lib.vornGetDllVersion(buffer)
    return buffer.value.decode("ascii")

"""Why a serial line could not be opened: the library only says
"Unable to open comport n."; the cause tells the user what to do."""

import errno
import os
import re

_UNABLE = re.compile(r"Unable to open comport (\d+)\.")


def path_of_port(port):
    """COM<n> is the path in VORN_COM<n> when set, else /dev/ttyS<n-1>."""
    return os.environ.get(f"VORN_COM{port}") or f"/dev/ttyS{max(port - 1, 0)}"


# COM numbers handed to device paths start far above the serial ports a
# machine has, so they never shadow /dev/ttyS<n-1>.
_FIRST_PATH_PORT = 1000


def com_number_of(path, taken=()):
    """A COM number that opens the device `path`: one whose VORN_COM<n> names it
    already, else a free one, which this process's environment maps to it."""
    path = os.fspath(path)
    if "/" not in path or "\0" in path:
        raise ValueError(f"port {path!r} is neither a COM number nor a device path such as /dev/ttyUSB0")
    for name, value in os.environ.items():
        if value == path and name.startswith("VORN_COM") and name[8:].isdigit() and int(name[8:]) not in taken:
            return int(name[8:])
    for port in range(_FIRST_PATH_PORT, 65536):
        if f"VORN_COM{port}" not in os.environ and port not in taken:
            os.environ[f"VORN_COM{port}"] = path
            return port
    raise ValueError(f"no free COM number is left for {path}")


def reason_for_port(port):
    path = path_of_port(port)
    try:
        descriptor = os.open(path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
    except OSError as error:
        text = f"COM{port} is {path}: {os.strerror(error.errno)}"
        if error.errno in (errno.EACCES, errno.EPERM):
            text += " (add your user to the 'dialout' group, then log in again)"
        return text
    os.close(descriptor)
    return None  # it opens now: busy or gone in between


def explain(error):
    """Adds the cause to a VornError about a line that would not open."""
    for message in error.messages:
        match = _UNABLE.fullmatch(message)
        if match:
            error.add_reason(reason_for_port(int(match.group(1))))
    return error

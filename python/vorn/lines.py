"""Why a serial line could not be opened: the library only says
"Unable to open comport n."; the cause tells the user what to do."""

import errno
import os
import re

_UNABLE = re.compile(r"Unable to open comport (\d+)\.")


def path_of_port(port):
    """COM<n> is the path in VORN_COM<n> when set, else /dev/ttyS<n-1>."""
    return os.environ.get(f"VORN_COM{port}") or f"/dev/ttyS{max(port - 1, 0)}"


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

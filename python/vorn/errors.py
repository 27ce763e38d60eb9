"""Failures of the library: its error codes (the VORN_ERR_ names of vorn.h) and exceptions."""

VORN_ERR_NONE = 0  # no failure since the last vornGetErrorCode()
VORN_ERR_FAILED = 1  # any reported message without a more specific code
VORN_ERR_TCPIP_READ = 16  # TCP/IP: receiving a data packet failed
VORN_ERR_TCPIP_PACKET_TYPE = 18  # TCP/IP: a packet other than data arrived outside a stream
VORN_ERR_TCPIP_ADDRESS = 19  # TCP/IP: a data record names a unit above 120
VORN_ERR_TCPIP_RECORD = 20  # TCP/IP: a data record has a bad data format or is cut short
VORN_ERR_RS232_READ = 32  # RS232: reading a reading or frame (or clearing an overflow) failed
VORN_ERR_PHASE = 33  # phase or tag error; a stream is aligned again
VORN_ERR_PHASE_LOST = 34  # phase or tag error in a stream that could not be aligned again
VORN_ERR_DATA_READY = 35  # measurement cycle: a character other than ','; the call returns 1
VORN_ERR_ISA_READ = 48  # ISA: reading the words of a reading or frame failed


class VornError(Exception):
    """A library call failed: `code` is the library's error code (vornGetErrorCode),
    `messages` the messages it reported for this call (possibly none)."""

    def __init__(self, call, code, messages=()):
        self.call = call
        self.code = code
        self.messages = tuple(messages)
        self.reason = None  # what this package found out about the cause, if anything
        super().__init__(self._text())

    def _text(self):
        text = f"{self.call} failed (error code {self.code})"
        if self.messages:
            text += ": " + " ".join(self.messages)
        if self.reason:
            text += f" [{self.reason}]"
        return text

    def add_reason(self, reason):
        if reason:
            self.reason = reason if not self.reason else f"{self.reason}; {reason}"
            self.args = (self._text(),)

    @property
    def message(self):
        return " ".join(self.messages)


class PhaseError(VornError):
    """A stream lost its place (VORN_ERR_PHASE or VORN_ERR_PHASE_LOST); with
    VORN_ERR_PHASE it is aligned again."""


def error_class(code):
    return PhaseError if code in (VORN_ERR_PHASE, VORN_ERR_PHASE_LOST) else VornError


class RefusedError(VornError):
    """This package refused a call that cannot work with the group, before
    anything was sent to the units; the text says why and what works instead."""

    def __init__(self, call, reason):
        super().__init__(call, 0)
        self.add_reason(reason)

    def _text(self):
        return f"{self.call}: {self.reason}" if self.reason else f"{self.call} refused"


class GroupClosedError(RefusedError):
    """A call on a group that was shut down (its with-block ended, or close())."""

    def __init__(self, call, group_id):
        super().__init__(call, f"group {group_id} is closed: it was shut down when its with-block ended "
                               "or close() was called; wake the units again to use them")

"""Failures of the library as exceptions."""


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
    """A stream lost its place (codes 33 and 34); with code 33 it is aligned again."""


def error_class(code):
    return PhaseError if code in (33, 34) else VornError


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

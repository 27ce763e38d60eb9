"""Failures of the library as exceptions."""


class VornError(Exception):
    """A library call failed: `code` is the library's error code (vornGetErrorCode),
    `messages` the messages it reported for this call (possibly none)."""

    def __init__(self, call, code, messages=()):
        self.call = call
        self.code = code
        self.messages = tuple(messages)
        text = f"{call} failed (error code {code})"
        if self.messages:
            text += ": " + " ".join(self.messages)
        super().__init__(text)

    @property
    def message(self):
        return " ".join(self.messages)


class PhaseError(VornError):
    """A stream lost its place (codes 33 and 34); with code 33 it is aligned again."""


def error_class(code):
    return PhaseError if code in (33, 34) else VornError

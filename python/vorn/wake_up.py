"""Which group id a wake-up takes: the one asked for, refused while it is
awake, or else the lowest free one. A wake-up never shuts a live group down."""

from . import _library, arguments
from .errors import VornError

# The order free ids are tried in: 1 first, as before ids were chosen.
_FREE_ORDER = tuple(range(1, 257)) + (0,)


def _in_use(error):
    return any(message.endswith("is already in use.") for message in error.messages)


def wake(export, group, *rest):
    """Calls a wake-up export; returns the group id it woke."""
    if group is not None:
        group = arguments.whole(group, "group", arguments.GROUP_IDS)
    for candidate in (group,) if group is not None else _FREE_ORDER:
        try:
            _library.call(export, candidate, *rest)
            return candidate
        except VornError as error:
            if not _in_use(error):
                raise
            if group is not None:
                error.add_reason(f"group {group} is awake; close it first, or leave group=None "
                                 "to take a free id")
                raise
    raise VornError(export, 1, ["every group id (0 to 256) is in use"])

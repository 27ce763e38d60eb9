"""Checks of what a caller passes, before anything is opened: the same limits
as vornctl's options, as ValueError or TypeError that name the argument."""

import operator

GROUP_IDS = range(0, 257)
UNIT_COUNTS = range(1, 127)
COM_NUMBERS = range(0, 65536)
BASE_ADDRESSES = range(0, 0x10000)
BAUD_RATES = range(50, 4000001)
TIMEOUTS_MS = range(1, 600001)
TCP_PORTS = range(1, 65536)
GROUP_MODES = {"auto": 0, "off": 1, "on": 2}


def whole(value, name, allowed):
    """`value` as an int within `allowed` (a range)."""
    if isinstance(value, bool):
        raise TypeError(f"{name} must be a whole number, not a bool")
    try:
        number = operator.index(value)
    except TypeError:
        raise TypeError(f"{name} must be a whole number, not {type(value).__name__} {value!r}") from None
    if number not in allowed:
        raise ValueError(f"{name} {number} is out of range: {allowed.start} to {allowed.stop - 1}")
    return number


def listed(values):
    """One value or a list of them, as a list."""
    if isinstance(values, (list, tuple)):
        return list(values)
    return [values]


def address_list(values, name, allowed, stand_alone, what):
    """Port or base numbers by unit address: the first nonzero, at most 126,
    exactly one for a stand-alone unit."""
    numbers = [whole(value, f"{name}[{index}]", allowed) for index, value in enumerate(values)]
    if not numbers or numbers[0] == 0:
        raise ValueError(f"{name} must start with the master's {what} (nonzero)")
    if len(numbers) > 126:
        raise ValueError(f"{name} lists {len(numbers)} units; a group has at most 126")
    if stand_alone and len(numbers) != 1:
        raise ValueError(f"a stand-alone unit has exactly one {what}; {name} lists {len(numbers)}")
    return numbers


def unit_count(units, given, stand_alone, what):
    """Units of a vornset: as many as `given` entries unless `units` says more."""
    if stand_alone:
        return 1
    if units is None:
        return given
    count = whole(units, "units", UNIT_COUNTS)
    if given > count:
        raise ValueError(f"more {what}s ({given}) than units ({count}) were given")
    return count


def group_mode(setting):
    if setting not in GROUP_MODES:
        raise ValueError(f"group_mode must be one of {', '.join(map(repr, GROUP_MODES))}, not {setting!r}")
    return GROUP_MODES[setting]


def host(value):
    if isinstance(value, bytes):
        value = value.decode("ascii", "replace")
    if not isinstance(value, str):
        raise TypeError(f"host must be a name or address as a str, not {type(value).__name__}")
    if not value or "\0" in value:
        raise ValueError(f"host {value!r} is not a host name or address")
    return value


def record(value, expected, name):
    if not isinstance(value, expected):
        raise TypeError(f"{name} must be a vorn.{expected.__name__}, not {type(value).__name__}")
    return value

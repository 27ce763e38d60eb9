"""The library's four records, field for field, as ctypes structures."""

import ctypes

UNIT_COUNT = 127
FILTER_ENTRIES = 7


class SystemConfig(ctypes.Structure):
    """System configuration of a group (152 bytes)."""

    _fields_ = [
        ("systemStatus", ctypes.c_uint8),
        ("errorCode", ctypes.c_uint8),
        ("numberOfUnits", ctypes.c_uint8),
        ("controllerField1", ctypes.c_uint8),
        ("transmitter", ctypes.c_uint8),
        ("reserved0", ctypes.c_uint8),
        ("crystalSpeed", ctypes.c_uint16),
        ("measurementRate", ctypes.c_double),
        ("controllerField2", ctypes.c_uint8),
        ("controllerField3", ctypes.c_uint8),
        ("controllerField4", ctypes.c_uint8),
        ("reserved1", ctypes.c_uint8),
        ("softwareRevision", ctypes.c_uint16),
        ("unitStatus", ctypes.c_uint8 * UNIT_COUNT),
        ("reserved2", ctypes.c_uint8 * 3),
    ]


class DeviceConfig(ctypes.Structure):
    """Configuration of one unit (68 bytes)."""

    _fields_ = [
        ("status", ctypes.c_uint8),
        ("status2", ctypes.c_uint8),
        ("softwareRevision", ctypes.c_uint16),
        ("errorCode", ctypes.c_uint8),
        ("setup", ctypes.c_uint8),
        ("dataFormat", ctypes.c_uint8),
        ("reportRate", ctypes.c_uint8),
        ("scaling", ctypes.c_uint16),
        ("hemisphere", ctypes.c_uint8),
        ("address", ctypes.c_uint8),
        ("transmitterType", ctypes.c_uint8),
        ("reserved0", ctypes.c_uint8),
        ("alphaMin", ctypes.c_uint16 * FILTER_ENTRIES),
        ("alphaMax", ctypes.c_uint16 * FILTER_ENTRIES),
        ("vm", ctypes.c_uint16 * FILTER_ENTRIES),
        ("referenceFrame", ctypes.c_int16 * 3),
        ("angleAlign", ctypes.c_int16 * 3),
    ]

    @property
    def has_sensor(self):
        return bool(self.status & 0x04)

    @property
    def button_enabled(self):
        return bool(self.setup & 0x08)


class Reading(ctypes.Structure):
    """One sensor measurement as raw integers (40 bytes)."""

    _fields_ = [
        ("position", ctypes.c_int16 * 3),
        ("angles", ctypes.c_int16 * 3),
        ("matrix", ctypes.c_int16 * 9),
        ("quaternion", ctypes.c_int16 * 4),
        ("button", ctypes.c_uint16),
    ]


class Frame(ctypes.Structure):
    """The readings of every unit of a group and a time stamp in ms (5084 bytes)."""

    _fields_ = [
        ("time", ctypes.c_uint32),
        ("reading", Reading * UNIT_COUNT),
    ]


# The sizes are part of the library's binary interface; a mismatch would
# corrupt memory, so refuse to load rather than risk it.
for _record, _size in ((SystemConfig, 152), (DeviceConfig, 68), (Reading, 40), (Frame, 5084)):
    if ctypes.sizeof(_record) != _size:
        raise ImportError(f"vorn: {_record.__name__} is {ctypes.sizeof(_record)} bytes, expected {_size}")

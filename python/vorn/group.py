"""A woken-up group of units as a context manager."""

import ctypes
import time

from . import _library
from .errors import PhaseError, VornError
from .lines import explain
from .measurements import Frame, delivers_data, sensor_of
from .records import DeviceConfig, Frame as FrameRecord, Reading, SystemConfig, UNIT_COUNT

_PHASE_ERROR_REALIGNED = 33


class Group:
    """Units woken up together. Use a wake-up function (rs232, tcpip, isa, pv2)
    in a `with` statement; leaving it shuts the group down."""

    def __init__(self, group_id, stand_alone):
        self.id = group_id
        self.stand_alone = stand_alone
        self._open = True
        self._streaming = False
        self.realigned = 0  # frames lost to a phase error while streaming
        self._devices = {}
        self.reload()

    def __enter__(self):
        return self

    def __exit__(self, *_exception):
        self.close()
        return False

    def close(self):
        if not self._open:
            return
        try:
            if self._streaming:
                self.stop_stream()
        finally:
            _library.lib.vornShutDown(self.id)
            self._open = False

    # Configuration
    def reload(self):
        """Reads the system configuration and that of every unit again."""
        self.system = self.system_config()
        self._devices = {address: self.device_config(address) for address in self.addresses}

    @property
    def addresses(self):
        if self.stand_alone:
            return [0]
        return list(range(1, self.system.numberOfUnits + 1))

    def system_config(self):
        config = SystemConfig()
        _library.call("vornGetSystemConfig", self.id, ctypes.byref(config))
        return config

    def set_system_config(self, config):
        _library.call("vornSetSystemConfig", self.id, ctypes.byref(config))
        self.system = config

    def device_config(self, address):
        config = DeviceConfig()
        _library.call("vornGetDeviceConfig", self.id, address, ctypes.byref(config))
        return config

    def set_device_config(self, address, config):
        _library.call("vornSetDeviceConfig", self.id, address, ctypes.byref(config))
        self._devices[address] = config

    def set_data_format(self, data_format, addresses=None):
        """Sets the data format (a code or a name such as "position-matrix") of units."""
        from .measurements import FORMAT_NAMES
        code = FORMAT_NAMES[data_format] if isinstance(data_format, str) else int(data_format)
        for address in addresses or self.addresses:
            config = self.device_config(address)
            config.dataFormat = code
            self.set_device_config(address, config)

    # Data
    def _frame_of(self, record):
        sensors = tuple(sensor_of(record.reading[address], address, config)
                        for address, config in sorted(self._devices.items()) if delivers_data(config))
        return Frame(int(record.time), sensors)

    def reading(self, address):
        config = self._devices[address]
        record = Reading()
        _library.call("vornStartReading", self.id, address)
        _library.call("vornGetReading", self.id, address, ctypes.byref(record))
        return sensor_of(record, address, config)

    def frame(self):
        """One single frame."""
        record = FrameRecord()
        _library.call("vornStartSingleFrame", self.id)
        _library.call("vornGetFrame", self.id, ctypes.byref(record))
        return self._frame_of(record)

    def stream(self, count=None, duration=None):
        """Streams frames: iterates until `count` frames or `duration` seconds,
        or for ever; the stream stops when the iteration ends."""
        _library.call("vornStartFrameStream", self.id)
        self._streaming = True
        record = FrameRecord()
        start = time.monotonic()
        taken = 0
        try:
            while (count is None or taken < count) and (duration is None or time.monotonic() - start < duration):
                try:
                    _library.call("vornGetFrame", self.id, ctypes.byref(record))
                except PhaseError as error:
                    if error.code != _PHASE_ERROR_REALIGNED:
                        raise
                    self.realigned += 1  # aligned again: the next frame is good
                    continue
                taken += 1
                yield self._frame_of(record)
        finally:
            if self._open and self._streaming:
                self.stop_stream()

    def stop_stream(self):
        self._streaming = False
        _library.call("vornStopFrameStream", self.id)


def _address_array(values, stand_alone):
    # Indexed by unit address: entry 0 for a stand-alone unit, 1..N for a vornset.
    array = (ctypes.c_uint16 * UNIT_COUNT)()
    first = 0 if stand_alone else 1
    for index, value in enumerate(values):
        array[first + index] = value
    return array


def rs232(ports, stand_alone=False, units=None, baud=115200, group=1, read_timeout_ms=2000, write_timeout_ms=1000):
    """Wakes units on serial lines: `ports` are COM numbers by unit address
    (COM<n> is $VORN_COM<n>, else /dev/ttyS<n-1>)."""
    ports = [ports] if isinstance(ports, int) else list(ports)
    count = 1 if stand_alone else (units or len(ports))
    _library.lib.vornShutDown(group)
    try:
        _library.call("vornRS232WakeUp", group, int(stand_alone), count, _address_array(ports, stand_alone),
                      baud, read_timeout_ms, write_timeout_ms)
    except VornError as error:
        raise explain(error) from None
    return _opened(group, stand_alone)


def tcpip(host, port, units=0, group=1):
    """Wakes the units of a networked controller (units=0: all it has)."""
    _library.lib.vornShutDown(group)
    _library.call("vornTCPIPWakeUp", group, host.encode(), port, units)
    return _opened(group, False)


def isa(bases, stand_alone=False, units=None, group=1, read_timeout_ms=2000, write_timeout_ms=1000):
    """Wakes units on ISA boards at the given base addresses, by unit address."""
    bases = [bases] if isinstance(bases, int) else list(bases)
    count = 1 if stand_alone else (units or len(bases))
    _library.lib.vornShutDown(group)
    _library.call("vornISAWakeUp", group, int(stand_alone), count, _address_array(bases, stand_alone),
                  read_timeout_ms, write_timeout_ms)
    return _opened(group, stand_alone)


def pv2(base, group=1, read_timeout_ms=2000, write_timeout_ms=1000):
    _library.lib.vornShutDown(group)
    _library.call("vornPV2WakeUp", group, base, read_timeout_ms, write_timeout_ms)
    return _opened(group, False)


def _opened(group, stand_alone):
    # A failure reading the configuration must not leave the group awake.
    try:
        return Group(group, stand_alone)
    except BaseException:
        _library.lib.vornShutDown(group)
        raise

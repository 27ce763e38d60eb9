"""A woken-up group of units as a context manager."""

import ctypes
import time

from . import _library, arguments
from .errors import VORN_ERR_PHASE, GroupClosedError, PhaseError, RefusedError, VornError
from .lines import com_number_of, explain
from .measurements import FORMAT_NAMES, Frame, delivers_data, sensor_of
from .records import DeviceConfig, Frame as FrameRecord, Reading, SystemConfig, UNIT_COUNT
from .wake_up import wake


class Group:
    """Units woken up together. Use a wake-up function (rs232, tcpip, isa, pv2)
    in a `with` statement; leaving it shuts the group down."""

    def __init__(self, group_id, stand_alone, link="rs232", own_addresses=None, group_mode="auto"):
        self.id = group_id
        self.stand_alone = stand_alone
        self.link = link
        self.group_mode = group_mode
        # Units with a line (RS232) or board (ISA) of their own; None: every unit.
        self._own_addresses = own_addresses
        self._open = True
        self._streaming = False
        self.realigned = 0  # frames lost to a phase error while streaming
        self._devices = {}
        self.reload()

    def __enter__(self):
        self._check_open("with")
        return self

    def __exit__(self, *_exception):
        self.close()
        return False

    def close(self):
        """Stops a stream and shuts the group down; later calls are refused."""
        if not self._open:
            return
        try:
            if self._streaming:
                self.stop_stream()
        finally:
            self._open = False
            _library.shut_down(self.id)

    def _check_open(self, call):
        if not self._open:
            raise GroupClosedError(call, self.id)

    def _check_address(self, address, call):
        self._check_open(call)
        address = arguments.whole(address, "address", range(0, UNIT_COUNT))
        if address not in self.addresses:
            units = ", ".join(map(str, self.addresses))
            raise ValueError(f"unit {address} is not in group {self.id}; its units are {units}")
        return address

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
        """Reads the system configuration (a vorn.SystemConfig) from the units:
        how many there are, the measurement rate, the master's status."""
        self._check_open("system_config")
        config = SystemConfig()
        _library.call("vornGetSystemConfig", self.id, ctypes.byref(config))
        return config

    def set_system_config(self, config):
        """Writes a vorn.SystemConfig; the library writes back what it corrected."""
        self._check_open("set_system_config")
        arguments.record(config, SystemConfig, "config")
        _library.call("vornSetSystemConfig", self.id, ctypes.byref(config))
        self.system = config

    def device_config(self, address):
        """Reads the configuration (a vorn.DeviceConfig) of the unit at `address`."""
        address = self._check_address(address, "device_config")
        config = DeviceConfig()
        _library.call("vornGetDeviceConfig", self.id, address, ctypes.byref(config))
        return config

    def set_device_config(self, address, config):
        address = self._check_address(address, "set_device_config")
        arguments.record(config, DeviceConfig, "config")
        _library.call("vornSetDeviceConfig", self.id, address, ctypes.byref(config))
        self._devices[address] = config

    def set_data_format(self, data_format, addresses=None):
        """Sets the data format (a code or a name such as "position-matrix") of units."""
        self._check_open("set_data_format")
        if isinstance(data_format, str):
            if data_format not in FORMAT_NAMES:
                raise ValueError(f"unknown data format {data_format!r}; one of {', '.join(FORMAT_NAMES)}")
            code = FORMAT_NAMES[data_format]
        else:
            code = arguments.whole(data_format, "data_format", range(0, 256))
        for address in addresses or self.addresses:
            config = self.device_config(address)
            config.dataFormat = code
            self.set_device_config(address, config)

    @property
    def group_mode_enabled(self):
        """RS232: whether frames and streams come from the master in group mode."""
        self._check_open("group_mode_enabled")
        return self.link == "rs232" and bool(_library.lib.vornRS232GroupModeEnabled(self.id))

    # Data
    def _delivering(self, streaming):
        """Units whose data a frame carries. Without RS232 group mode, and in an
        ISA vornset's single frames, only units with their own line or board
        deliver: the library leaves the others at zero."""
        own = self._own_addresses
        if own is not None and (self.link == "isa" and not streaming or
                                self.link == "rs232" and not self.group_mode_enabled):
            return [address for address in self.addresses if address in own]
        return self.addresses

    def _frame_of(self, record, addresses, host_time):
        sensors = tuple(sensor_of(record.reading[address], address, self._devices[address])
                        for address in addresses if delivers_data(self._devices[address]))
        return Frame(int(record.time), sensors, host_time)

    def reading(self, address):
        """One reading of the unit at `address`, as a vorn.Sensor (inches, degrees;
        fields that its data format does not carry are None)."""
        address = self._check_address(address, "reading")
        config = self._devices[address]
        record = Reading()
        _library.call("vornStartReading", self.id, address)
        _library.call("vornGetReading", self.id, address, ctypes.byref(record))
        return sensor_of(record, address, config)

    def frame(self):
        """One single frame of the units that deliver data in it. In an ISA
        vornset only units on a board of their own answer a single frame (a
        unit behind the master's board delivers nothing there: use reading())."""
        self._check_open("frame")
        record = FrameRecord()
        _library.call("vornStartSingleFrame", self.id)
        _library.call("vornGetFrame", self.id, ctypes.byref(record))
        return self._frame_of(record, self._delivering(False), time.monotonic())

    def _check_stream(self, count, duration):
        if count is not None:
            count = arguments.whole(count, "count", range(-2 ** 63, 2 ** 63))
            if count < 1:
                raise ValueError(f"count must be a positive number of frames, not {count}")
        if duration is not None and not (isinstance(duration, (int, float)) and not isinstance(duration, bool)):
            raise TypeError(f"duration must be a number of seconds, not {type(duration).__name__}")
        if duration is not None and not duration > 0:
            raise ValueError(f"duration must be a positive number of seconds, not {duration}")
        if self.link == "isa" and not self.stand_alone and self._own_addresses is not None:
            raise RefusedError("stream", "an ISA vornset cannot stream (only a stand-alone board or a PV2 pair can); "
                                         "take single frames with frame() or readings with reading()")
        lineless = [address for address in self.addresses
                    if address not in (self._own_addresses or ()) and delivers_data(self._devices[address])]
        if self.link == "rs232" and self.group_mode == "off" and not self.stand_alone and lineless:
            raise RefusedError("stream", f"with group_mode='off' units {', '.join(map(str, lineless))} (no line of "
                                         "their own) deliver nothing, and the master's stream would be taken for "
                                         "unit 1's data; wake the group with group_mode='auto' or 'on'")
        return count, duration

    def stream(self, count=None, duration=None):
        """Streams frames: iterates until `count` frames or `duration` seconds,
        or for ever; the stream stops when the iteration ends. Each frame's
        `time` is the link's own time stamp, `host_time` this computer's."""
        self._check_open("stream")
        count, duration = self._check_stream(count, duration)
        return self._frames(count, duration)

    def _frames(self, count, duration):
        _library.call("vornStartFrameStream", self.id)
        self._streaming = True
        record = FrameRecord()
        addresses = self._delivering(True)
        start = time.monotonic()
        taken = 0
        try:
            while (count is None or taken < count) and (duration is None or time.monotonic() - start < duration):
                try:
                    _library.call("vornGetFrame", self.id, ctypes.byref(record))
                except PhaseError as error:
                    if error.code != VORN_ERR_PHASE:
                        raise
                    self.realigned += 1  # aligned again: the next frame is good
                    continue
                taken += 1
                yield self._frame_of(record, addresses, time.monotonic())
        finally:
            if self._open and self._streaming:
                self.stop_stream()

    def stop_stream(self):
        self._check_open("stop_stream")
        self._streaming = False
        _library.call("vornStopFrameStream", self.id)


def _address_array(values, stand_alone):
    # Indexed by unit address: entry 0 for a stand-alone unit, 1..N for a vornset.
    array = (ctypes.c_uint16 * UNIT_COUNT)()
    first = 0 if stand_alone else 1
    for index, value in enumerate(values):
        array[first + index] = value
    return array


def _own_addresses(values, stand_alone):
    first = 0 if stand_alone else 1
    return {first + index for index, value in enumerate(values) if value}


def _is_path(port):
    return isinstance(port, str) or hasattr(port, "__fspath__")


def _com_numbers(ports):
    """COM numbers as they are, device paths mapped to COM numbers of their own."""
    ports = [ports] if _is_path(ports) or not isinstance(ports, (list, tuple, range)) else list(ports)
    numbers = [port for port in ports if not _is_path(port)]
    return [com_number_of(port, numbers) if _is_path(port) else port for port in ports]


def rs232(ports, stand_alone=False, units=None, baud=115200, group=None, read_timeout_ms=2000,
          write_timeout_ms=1000, group_mode="auto"):
    """Wakes units on serial lines (about 6 s). `ports` are COM numbers or device
    paths by unit address, master first, 0 for a unit reached through the
    master (COM<n> is $VORN_COM<n>, else /dev/ttyS<n-1>). `group` is the group
    id; None takes the lowest free one. `group_mode` ("auto", "on", "off"):
    whether frames and streams come from the master for every unit at once
    ("auto": when a unit that delivers data has no line of its own)."""
    ports = arguments.address_list(_com_numbers(ports), "ports", arguments.COM_NUMBERS, stand_alone, "port")
    count = arguments.unit_count(units, len(ports), stand_alone, "port")
    arguments.group_mode(group_mode)
    values = (arguments.whole(baud, "baud", arguments.BAUD_RATES),
              arguments.whole(read_timeout_ms, "read_timeout_ms", arguments.TIMEOUTS_MS),
              arguments.whole(write_timeout_ms, "write_timeout_ms", arguments.TIMEOUTS_MS))
    try:
        group = wake("vornRS232WakeUp", group, int(stand_alone), count, _address_array(ports, stand_alone), *values)
    except VornError as error:
        raise explain(error) from None
    return _opened(group, stand_alone, "rs232", _own_addresses(ports, stand_alone), group_mode)


def tcpip(host, port, units=0, group=None):
    """Wakes the units of a networked controller at `host`:`port` (units=0: all
    it has). Frames carry the controller's time stamp; `host_time` is ours."""
    host = arguments.host(host)
    port = arguments.whole(port, "port", arguments.TCP_PORTS)
    units = arguments.whole(units, "units", range(0, 127))
    group = wake("vornTCPIPWakeUp", group, host.encode(), port, units)
    return _opened(group, False, "tcpip")


def isa(bases, stand_alone=False, units=None, group=None, read_timeout_ms=2000, write_timeout_ms=1000):
    """Wakes units on ISA boards at the given base addresses, by unit address
    (0: reached through the master's board)."""
    bases = arguments.address_list(arguments.listed(bases), "bases", arguments.BASE_ADDRESSES, stand_alone,
                                   "board")
    count = arguments.unit_count(units, len(bases), stand_alone, "board")
    timeouts = (arguments.whole(read_timeout_ms, "read_timeout_ms", arguments.TIMEOUTS_MS),
                arguments.whole(write_timeout_ms, "write_timeout_ms", arguments.TIMEOUTS_MS))
    group = wake("vornISAWakeUp", group, int(stand_alone), count, _address_array(bases, stand_alone), *timeouts)
    return _opened(group, stand_alone, "isa", _own_addresses(bases, stand_alone))


def pv2(base, group=None, read_timeout_ms=2000, write_timeout_ms=1000):
    """Wakes a PV2 master board at `base` and the second unit behind it
    (addresses 1 and 2); they stream and take single frames like a vornset."""
    base = arguments.whole(base, "base", range(1, 0x10000))
    timeouts = (arguments.whole(read_timeout_ms, "read_timeout_ms", arguments.TIMEOUTS_MS),
                arguments.whole(write_timeout_ms, "write_timeout_ms", arguments.TIMEOUTS_MS))
    group = wake("vornPV2WakeUp", group, base, *timeouts)
    return _opened(group, False, "pv2")


def _opened(group, stand_alone, link, own_addresses=None, group_mode="auto"):
    # A failure reading the configuration must not leave the group awake.
    try:
        if link == "rs232":
            _library.call("vornRS232SetGroupMode", group, arguments.group_mode(group_mode))
        return Group(group, stand_alone, link, own_addresses, group_mode)
    except BaseException:
        _library.shut_down(group)
        raise

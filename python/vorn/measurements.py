"""Readings in engineering units: inches, degrees, plain fractions."""

from dataclasses import dataclass
from typing import Optional, Tuple

FULL_SCALE = 32767.0

# What each data format code carries: position, angles, matrix, quaternion.
FORMAT_CONTENT = {
    0: (False, False, False, False),
    1: (True, False, False, False),
    2: (False, True, False, False),
    3: (False, False, True, False),
    4: (True, True, False, False),
    5: (True, False, True, False),
    7: (False, False, False, True),
    8: (True, False, False, True),
}

FORMAT_NAMES = {
    "none": 0, "position": 1, "angles": 2, "matrix": 3, "position-angles": 4,
    "position-matrix": 5, "quaternion": 7, "position-quaternion": 8,
}


@dataclass(frozen=True)
class Sensor:
    """One unit's measurement; fields its data format does not carry are None."""

    address: int
    position: Optional[Tuple[float, float, float]]    # inches
    angles: Optional[Tuple[float, float, float]]      # azimuth, elevation, roll in degrees
    matrix: Optional[Tuple[Tuple[float, ...], ...]]   # 3 rows of 3, as the unit sends them
    quaternion: Optional[Tuple[float, float, float, float]]
    button: Optional[int]


@dataclass(frozen=True)
class Frame:
    """A frame of the units that delivered data. `time_ms` is the link's own
    time stamp: this computer's monotonic clock over RS232 and ISA, the
    controller's clock over TCP/IP. `host_time` is this computer's monotonic
    clock (time.monotonic(), seconds) when the frame was taken, on every link."""

    time_ms: int
    sensors: Tuple[Sensor, ...]
    host_time: Optional[float] = None

    @property
    def time(self):
        """Seconds."""
        return self.time_ms * 0.001

    def sensor(self, address):
        for sensor in self.sensors:
            if sensor.address == address:
                return sensor
        raise KeyError(f"no sensor at unit address {address}")


def sensor_of(reading, address, config):
    """Converts a raw Reading by the unit's DeviceConfig."""
    has_position, has_angles, has_matrix, has_quaternion = FORMAT_CONTENT.get(
        config.dataFormat, (False, False, False, False))
    position = tuple(v * config.scaling / FULL_SCALE for v in reading.position) if has_position else None
    angles = tuple(v * 180.0 / FULL_SCALE for v in reading.angles) if has_angles else None
    matrix = None
    if has_matrix:
        m = [v / FULL_SCALE for v in reading.matrix]
        matrix = (tuple(m[0:3]), tuple(m[3:6]), tuple(m[6:9]))
    quaternion = tuple(v / FULL_SCALE for v in reading.quaternion) if has_quaternion else None
    button = int(reading.button) if config.button_enabled else None
    return Sensor(address, position, angles, matrix, quaternion, button)


def delivers_data(config):
    return config.has_sensor and FORMAT_CONTENT.get(config.dataFormat, (False,) * 4) != (False,) * 4

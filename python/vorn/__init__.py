"""Python access to Vorn six-degree-of-freedom trackers through libvorn.

    import vorn
    with vorn.rs232(ports=[1]) as group:
        for frame in group.stream(count=10):
            for sensor in frame.sensors:
                print(frame.time, sensor.address, sensor.position, sensor.angles)

Every failing library call raises VornError with the library's error code and
the messages it reported; arguments out of range raise ValueError (TypeError
for the wrong kind) before anything is opened; a call that cannot work with
the group raises RefusedError, and one on a closed group GroupClosedError.
Ctrl-C ends a waiting call at once with KeyboardInterrupt.
"""

from ._library import version
from .errors import GroupClosedError, PhaseError, RefusedError, VornError
from .group import Group, isa, pv2, rs232, tcpip
from .measurements import FORMAT_NAMES, Frame, Sensor
from .records import DeviceConfig, Frame as FrameRecord, Reading, SystemConfig

__all__ = ["Group", "rs232", "tcpip", "isa", "pv2", "VornError", "PhaseError", "RefusedError", "GroupClosedError", "Frame", "Sensor",
           "SystemConfig", "DeviceConfig", "Reading", "FrameRecord", "FORMAT_NAMES", "version"]

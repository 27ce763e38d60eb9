"""Prints live frames of a vornset on COM1: positions in inches, angles in degrees."""

import sys

import vorn

units = int(sys.argv[1]) if len(sys.argv) > 1 else 3
try:
    with vorn.rs232(ports=[1], units=units) as group:
        group.set_data_format("position-angles")
        group.reload()
        for frame in group.stream(count=20):
            for sensor in frame.sensors:
                x, y, z = sensor.position
                azimuth, elevation, roll = sensor.angles
                print(f"{frame.time:10.3f} s  unit {sensor.address}: "
                      f"{x:7.2f} {y:7.2f} {z:7.2f} in  {azimuth:7.2f} {elevation:7.2f} {roll:7.2f} deg")
except vorn.VornError as error:
    sys.exit(f"vorn: {error}")

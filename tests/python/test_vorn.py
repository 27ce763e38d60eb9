"""The vorn package against the simulator: records, exceptions with the
library's code and message, the group as a context manager, streams."""

import ctypes
import os
import pathlib
import re
import subprocess
import sys
import tempfile

import pytest

import vorn


def test_error_codes_are_the_headers():
    header = pathlib.Path(__file__).resolve().parents[2] / "include" / "vorn" / "vorn.h"
    defined = {name: int(value) for name, value in re.findall(r"#define\s+(VORN_ERR_\w+)\s+(\d+)", header.read_text())}
    ours = {name: value for name, value in vars(vorn.errors).items() if name.startswith("VORN_ERR_")}
    assert defined and ours == defined


def test_records_have_the_library_layout():
    # Offsets a mistake in the field list would move.
    assert vorn.SystemConfig.measurementRate.offset == 8
    assert vorn.SystemConfig.softwareRevision.offset == 20
    assert vorn.SystemConfig.unitStatus.offset == 22
    assert vorn.DeviceConfig.scaling.offset == 8
    assert vorn.DeviceConfig.alphaMin.offset == 14
    assert vorn.DeviceConfig.referenceFrame.offset == 56
    assert vorn.Reading.quaternion.offset == 30
    assert vorn.FrameRecord.reading.offset == 4
    assert ctypes.sizeof(vorn.FrameRecord) == 5084
    assert vorn.version() == "3.07"


def test_a_line_that_cannot_be_opened_raises_with_code_and_message():
    missing = os.path.join(tempfile.gettempdir(), f"vorn-no-line-{os.getpid()}")
    os.environ["VORN_COM7"] = missing
    with pytest.raises(vorn.VornError) as failure:
        vorn.rs232(ports=[7], stand_alone=True, group=5)
    assert failure.value.code == vorn.errors.VORN_ERR_FAILED
    assert "Unable to open comport 7." in failure.value.messages
    assert "error code 1" in str(failure.value)
    assert failure.value.reason == f"COM7 is {missing}: No such file or directory"


@pytest.mark.skipif(os.geteuid() != 0, reason="needs root to act as a user without access")
def test_a_line_without_permission_names_the_dialout_group():
    # A line only root may open, in a folder anyone may enter, tried by the unprivileged user "nobody".
    folder = tempfile.TemporaryDirectory(prefix="vorn-perm-")
    os.chmod(folder.name, 0o755)
    line = os.path.join(folder.name, "ttyUSB0")
    open(line, "wb").close()
    os.chmod(line, 0o600)
    script = ("import vorn\n"
              "try:\n"
              "    vorn.rs232(ports=[3], stand_alone=True)\n"
              "except vorn.VornError as error:\n"
              "    print(error.messages[0]); print(error.reason)\n")
    result = subprocess.run([sys.executable, "-c", script], env={**os.environ, "VORN_COM3": line},
                            capture_output=True, text=True, timeout=60, user=65534, group=65534)
    folder.cleanup()
    assert result.stdout.splitlines() == [
        "Unable to open comport 3.",
        f"COM3 is {line}: Permission denied (add your user to the 'dialout' group, then log in again)"], result.stderr


def orthonormal(matrix):
    for i in range(3):
        for j in range(3):
            dot = sum(matrix[i][k] * matrix[j][k] for k in range(3))
            if abs(dot - (1.0 if i == j else 0.0)) > 0.01:
                return False
    return True


def test_a_vornset_streams_frames_in_every_form_and_shuts_down_on_exit(vornset):
    with vorn.rs232(ports=[1], units=2) as group:
        assert group.addresses == [1, 2]
        assert group.system.numberOfUnits == 2

        group.set_data_format("position-angles")
        group.reload()
        frames = list(group.stream(count=5))
        assert len(frames) == 5
        assert all(later.time_ms >= earlier.time_ms for earlier, later in zip(frames, frames[1:]))
        for frame in frames:
            assert [sensor.address for sensor in frame.sensors] == [1, 2]
            for sensor in frame.sensors:
                assert sensor.matrix is None and sensor.quaternion is None
                assert all(abs(v) <= 72 for v in sensor.position)
                assert all(-180 <= v <= 180 for v in sensor.angles)

        group.set_data_format("position-matrix", addresses=[1])
        group.set_data_format("quaternion", addresses=[2])
        group.reload()
        frame = next(iter(group.stream(count=1)))
        first, second = frame.sensor(1), frame.sensor(2)
        assert first.angles is None and orthonormal(first.matrix)
        assert second.position is None
        assert abs(sum(v * v for v in second.quaternion) - 1.0) < 0.01

        # A single frame and a reading agree with the stream's forms.
        group.set_data_format("angles", addresses=[1])
        group.reload()
        reading = group.reading(1)
        assert reading.position is None and len(reading.angles) == 3
        single = group.frame()
        assert single.sensor(1).angles is not None

    # Out of the with block the group is shut down: its calls fail loudly.
    with pytest.raises(vorn.VornError):
        group.system_config()


def test_an_exception_inside_the_block_still_stops_the_stream_and_shuts_down(vornset):
    with pytest.raises(RuntimeError):
        with vorn.rs232(ports=[1], units=2, group=2) as group:
            for _frame in group.stream():
                raise RuntimeError("user code failed")
    with pytest.raises(vorn.VornError):
        group.system_config()

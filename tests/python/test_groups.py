"""Groups side by side: each wake-up takes a free id or refuses one in use and
never takes over a live group; misuse of a group and calls after its
with-block say what is wrong."""

import time

import pytest

import vorn
from conftest import serving


@pytest.fixture(scope="module")
def second_vornset():
    """Another vornset of two units, on COM20."""
    yield from serving("--units", "2", "--first-port", "20")


def test_a_second_wake_up_takes_a_free_id_and_leaves_the_first_group_alone(vornset, second_vornset):
    # The second one opens its line by path: a device path works where a COM number does.
    with vorn.rs232(ports=[1], units=2) as first, \
            vorn.rs232(ports=[second_vornset.env["VORN_COM20"]], units=2) as second:
        assert first.id != second.id
        assert first.system_config().numberOfUnits == 2
        assert [sensor.address for sensor in first.frame().sensors] == [1, 2]
        # An id in use is refused, and its group lives on.
        with pytest.raises(vorn.VornError) as failure:
            vorn.rs232(ports=[1], units=2, group=second.id)
        assert "already in use" in str(failure.value)
        assert f"group {second.id} is awake" in failure.value.reason
        assert [sensor.address for sensor in second.frame().sensors] == [1, 2]
        first.close()
        # Closing the first leaves the second streaming.
        before = time.monotonic()
        frames = list(second.stream(count=3))
        assert [sensor.address for sensor in frames[-1].sensors] == [1, 2]
        # Each frame also carries this computer's time, on the clock of time.monotonic().
        assert before <= frames[0].host_time <= frames[-1].host_time <= time.monotonic()


def test_misuse_of_a_group_says_what_is_wrong(vornset):
    with vorn.rs232(ports=[1], units=2) as group:
        with pytest.raises(ValueError, match="unit 9 is not in group .*; its units are 1, 2"):
            group.reading(9)
        with pytest.raises(ValueError, match="unit 0 is not in group"):
            group.device_config(0)
        with pytest.raises(TypeError, match="address"):
            group.reading("1")
        with pytest.raises(ValueError, match="unknown data format 'euler'"):
            group.set_data_format("euler")
        with pytest.raises(TypeError, match="vorn.SystemConfig"):
            group.set_system_config({"measurementRate": 100})
        with pytest.raises(TypeError, match="vorn.DeviceConfig"):
            group.set_device_config(1, vorn.SystemConfig())
        # Bad counts are refused before a stream starts: the group still takes single frames.
        for count in (0, -5):
            with pytest.raises(ValueError, match="count must be a positive number of frames"):
                group.stream(count=count)
        with pytest.raises(ValueError, match="duration"):
            group.stream(duration=0)
        assert len(group.frame().sensors) == 2
    for call in (group.system_config, group.frame, group.stream, lambda: group.reading(1)):
        with pytest.raises(vorn.GroupClosedError, match="is closed"):
            call()

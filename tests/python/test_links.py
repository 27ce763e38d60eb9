"""Frames over every link: only units that delivered data are shown, the
group-mode choice, and this computer's time on every frame."""

import time

import pytest

import vorn


def test_an_isa_vornset_frame_shows_only_units_on_boards_of_their_own(isa_vornset):
    with vorn.isa([0x300, 0x320, 0]) as group:
        assert group.addresses == [1, 2, 3]
        before = time.monotonic()
        frame = group.frame()
        assert [sensor.address for sensor in frame.sensors] == [1, 2]
        assert before <= frame.host_time <= time.monotonic()
        for sensor in frame.sensors:
            assert any(sensor.position)
        # Unit 3 answers readings through the master's board.
        assert any(group.reading(3).position)
        with pytest.raises(vorn.RefusedError, match="an ISA vornset cannot stream"):
            group.stream(count=1)


def test_units_on_lines_of_their_own_stream_with_group_mode_on(own_lines):
    with vorn.rs232(ports=[30, 31, 32], group_mode="on") as group:
        assert group.group_mode_enabled
        frames = list(group.stream(count=5))
        assert [sensor.address for sensor in frames[-1].sensors] == [1, 2, 3]


def test_group_mode_off_refuses_a_stream_that_would_mix_units_up(vornset):
    with vorn.rs232(ports=[1, 0], group_mode="off") as group:
        assert not group.group_mode_enabled
        # Without group mode only unit 1 has a line: a single frame holds it alone.
        assert [sensor.address for sensor in group.frame().sensors] == [1]
        with pytest.raises(vorn.RefusedError, match="units 2 .*group_mode='auto' or 'on'"):
            group.stream(count=1)


def test_tcpip_frames_carry_the_controllers_time_and_ours(controller):
    host, _, port = controller.env["VORN_CONTROLLER"].rpartition(":")
    with vorn.tcpip(host, int(port)) as group:
        before = time.monotonic()
        frames = list(group.stream(count=3))
        after = time.monotonic()
        assert [sensor.address for sensor in frames[0].sensors] == [1, 2]
        assert all(before <= frame.host_time <= after for frame in frames)
        single = group.frame()
        assert after <= single.host_time <= time.monotonic()

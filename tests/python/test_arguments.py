"""What a caller passes is checked before anything is opened: numbers out of
range raise ValueError, the wrong kind TypeError, both naming the argument;
misuse of a group says what is wrong instead of a bare KeyError."""

import os
import tempfile

import pytest

import vorn


@pytest.mark.parametrize("call, named", [
    (lambda: vorn.rs232(ports=[-1]), "ports[0] -1"),
    (lambda: vorn.rs232(ports=[70000]), "ports[0] 70000"),
    (lambda: vorn.rs232(ports=[0, 1]), "ports must start with the master's port"),
    (lambda: vorn.rs232(ports=[1] * 127), "at most 126"),
    (lambda: vorn.rs232(ports=[1, 2], stand_alone=True), "exactly one port"),
    (lambda: vorn.rs232(ports=[1, 2, 3], units=2), "more ports (3) than units (2)"),
    (lambda: vorn.rs232(ports=[1], units=127), "units 127"),
    (lambda: vorn.rs232(ports=[1], baud=0), "baud 0"),
    (lambda: vorn.rs232(ports=[1], baud=5_000_000), "baud 5000000"),
    (lambda: vorn.rs232(ports=[1], read_timeout_ms=-1), "read_timeout_ms -1"),
    (lambda: vorn.rs232(ports=[1], write_timeout_ms=0), "write_timeout_ms 0"),
    (lambda: vorn.rs232(ports=[1], group=257), "group 257"),
    (lambda: vorn.rs232(ports=[1], group_mode="sometimes"), "group_mode"),
    (lambda: vorn.rs232(ports=["ttyUSB0"]), "neither a COM number nor a device path"),
    (lambda: vorn.tcpip("127.0.0.1", 70000), "port 70000"),
    (lambda: vorn.tcpip("127.0.0.1", 0), "port 0"),
    (lambda: vorn.tcpip("", 4000), "host ''"),
    (lambda: vorn.tcpip("127.0.0.1", 4000, units=-1), "units -1"),
    (lambda: vorn.isa([0x10000]), "bases[0] 65536"),
    (lambda: vorn.isa([0, 0x300]), "bases must start with the master's board"),
    (lambda: vorn.isa([0x300], read_timeout_ms=600001), "read_timeout_ms 600001"),
    (lambda: vorn.pv2(0), "base 0"),
    (lambda: vorn.pv2(0x300, group=-1), "group -1"),
])
def test_numbers_out_of_range_raise_value_error_before_anything_opens(call, named):
    with pytest.raises(ValueError) as failure:
        call()
    assert named in str(failure.value)


@pytest.mark.parametrize("call, named", [
    (lambda: vorn.rs232(ports=[1.5]), "ports[0]"),
    (lambda: vorn.rs232(ports=[True]), "ports[0]"),
    (lambda: vorn.rs232(ports=[1], baud="fast"), "baud"),
    (lambda: vorn.tcpip(None, 4000), "host"),
    (lambda: vorn.tcpip(1234, 4000), "host"),
    (lambda: vorn.tcpip("127.0.0.1", "4000"), "port"),
    (lambda: vorn.pv2("0x300"), "base"),
])
def test_the_wrong_kind_of_argument_raises_type_error_naming_it(call, named):
    with pytest.raises(TypeError) as failure:
        call()
    assert named in str(failure.value)


def test_a_device_path_is_opened_through_a_com_number_of_its_own():
    missing = os.path.join(tempfile.gettempdir(), f"vorn-no-adapter-{os.getpid()}")
    with pytest.raises(vorn.VornError) as failure:
        vorn.rs232(ports=[missing], stand_alone=True)
    # The path got a COM number far above the machine's serial ports, through VORN_COM<n>.
    [message] = failure.value.messages
    port = int(message.split()[-1].rstrip("."))
    assert port >= 1000 and os.environ[f"VORN_COM{port}"] == missing
    assert failure.value.reason == f"COM{port} is {missing}: No such file or directory"
    # The same path again takes the same number.
    with pytest.raises(vorn.VornError) as again:
        vorn.rs232(ports=[missing], stand_alone=True)
    assert again.value.messages == failure.value.messages

"""Ctrl-C during a waiting call ends it at once with KeyboardInterrupt, never
as "Exception ignored on calling ctypes callback function"."""

import signal
import subprocess
import sys
import time

# Run as a program of its own, as a user's script would be: SIGINT as Python sets it up.
PRELUDE = """
import os, signal, sys, time
signal.signal(signal.SIGINT, signal.default_int_handler)
signal.pthread_sigmask(signal.SIG_UNBLOCK, {signal.SIGINT})
import vorn
"""

SILENT_LINE = PRELUDE + """
master, slave = os.openpty()  # a line nobody answers on
os.environ["VORN_COM5"] = os.ttyname(slave)
print("waking", flush=True)
try:
    vorn.rs232(ports=[5], stand_alone=True, read_timeout_ms=20000)
except KeyboardInterrupt:
    print("interrupted", flush=True)
"""

STREAM = PRELUDE + """
with vorn.rs232(ports=[1], units=2) as group:
    try:
        for taken, frame in enumerate(group.stream()):
            if taken == 0:
                print("streaming", flush=True)
    except KeyboardInterrupt:
        print("interrupted", flush=True)
# The stream was stopped and the group shut down: a new wake-up on the same line works.
with vorn.rs232(ports=[1], units=2, group=group.id) as again:
    print("again", len(again.frame().sensors), flush=True)
"""


def interrupt(script, wait_for, after):
    child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                             text=True)
    assert child.stdout.readline().strip() == wait_for
    time.sleep(after)
    sent = time.monotonic()
    child.send_signal(signal.SIGINT)
    line = child.stdout.readline().strip()
    took = time.monotonic() - sent
    rest, errors = child.communicate(timeout=60)
    return line, took, rest, errors, child.returncode


def test_ctrl_c_ends_a_wake_up_on_a_silent_line_at_once():
    line, took, _rest, errors, code = interrupt(SILENT_LINE, "waking", 1.0)
    assert line == "interrupted", errors
    assert took < 0.5
    assert "Exception ignored" not in errors and code == 0, errors


def test_ctrl_c_ends_a_stream_cleanly(vornset):
    line, took, rest, errors, code = interrupt(STREAM, "streaming", 0.5)
    assert line == "interrupted", errors
    assert took < 1.5  # stopping the stream waits 1 s for the units
    assert rest.split() == ["again", "2"], errors
    assert "Exception ignored" not in errors and code == 0, errors

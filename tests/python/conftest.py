"""A simulator program per test module: its VORN_COM<n> lines go into this
process's environment, where the library looks when it opens COM<n>."""

import os
import signal
import subprocess
import tempfile
import time

import pytest


class Simulator:
    def __init__(self, *args):
        self.folder = tempfile.TemporaryDirectory(prefix="vorn-py-")
        env_file = os.path.join(self.folder.name, "env")
        self.process = subprocess.Popen(
            [os.environ["VORNSIM"], "--quiet", "--dir", self.folder.name, "--env-file", env_file, *args],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 10
        while not os.path.exists(env_file):
            if self.process.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("vornsim did not start: " + self.process.stderr.read().decode())
            time.sleep(0.02)
        self.env = {}
        with open(env_file) as lines:
            for line in lines:
                name, _, path = line.strip().partition("=")
                self.env[name] = path
                os.environ[name] = path

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=10)
        self.process.stderr.close()
        self.folder.cleanup()


def serving(*args):
    """A fixture's body: a simulator with these options while the fixture lasts."""
    simulator = Simulator(*args)
    yield simulator
    simulator.stop()


@pytest.fixture(scope="module")
def vornset():
    """A simulated vornset of two units on COM1."""
    yield from serving("--units", "2")


@pytest.fixture(scope="module")
def isa_vornset():
    """Units 1 and 2 on boards at 0x300 and 0x320, unit 3 behind the master's board."""
    yield from serving("--units", "1", "--first-port", "50", "--isa", "0x300,0x320,0")


@pytest.fixture(scope="module")
def own_lines():
    """A vornset of three units, each on a line of its own: COM30, COM31, COM32."""
    yield from serving("--units", "3", "--own-lines", "2,3", "--first-port", "30")


@pytest.fixture(scope="module")
def controller():
    """A networked controller of two units; its address is in .env["VORN_CONTROLLER"]."""
    yield from serving("--units", "1", "--first-port", "40", "--controller", "2")

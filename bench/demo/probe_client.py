"""probe.exe (tests/e2e/probe) run beside the game: it reads the answer box and the guess."""

import subprocess
from pathlib import Path
from typing import Dict

from measure.wine_world import WineWorld

OK = 0


class Probe:
    def __init__(self, world: WineWorld, probe: Path):
        self._world = world
        self._probe = str(probe)

    def run(self, *arguments: str, timeout: float = 60.0) -> "tuple[int, Dict[str, str]]":
        """The exit code and the key=value lines it printed."""
        program = self._world.launch(self._probe, *arguments, stdout=subprocess.PIPE)
        output, _ = program.communicate(timeout=timeout)
        values = {}
        for line in output.decode("utf-8", "replace").splitlines():
            key, sep, value = line.partition("=")
            if sep:
                values[key] = value
        return program.returncode, values

    def wait(self, condition: str, seconds: float) -> bool:
        code, _ = self.run("wait", condition, str(int(seconds * 1000)), timeout=seconds + 60)
        return code == OK

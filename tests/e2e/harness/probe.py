"""Runs probe.exe beside the program and parses its key=value lines."""

import re
import subprocess
from dataclasses import dataclass, field
from pathlib import Path
from typing import Dict, List

OK, USAGE = 0, 2  # exit codes of probe.exe (tests/e2e/probe/probe.cpp)


def unescape(value: str) -> str:
    return re.sub(r"\\(.)", lambda escape: {"n": "\n", "r": "\r"}.get(escape[1], escape[1]), value)


@dataclass
class ProbeResult:
    code: int
    values: Dict[str, str] = field(default_factory=dict)
    errors: str = ""

    @property
    def ok(self) -> bool:
        return self.code == OK
    __bool__ = ok.fget  # so that a failed assertion on a result shows its code and stderr

    def lines(self, prefix: str) -> List[str]:
        """The numbered list written as prefix.count and prefix.0, prefix.1, ..."""
        return [self.values[f"{prefix}.{i}"] for i in range(int(self.values[prefix + ".count"]))]


class Probe:
    def __init__(self, wine: Path, probe: Path, env: dict):
        self._command, self._env = [str(wine), str(probe)], env

    def run(self, *args: str, timeout: float = 60.0, input: str = "") -> ProbeResult:
        done = subprocess.run(self._command + list(args), env=self._env, capture_output=True,
                              input=input.encode(), timeout=timeout)
        if done.returncode == USAGE:
            raise RuntimeError(f"probe usage error: {' '.join(args)}")
        lines = [line.partition("=") for line in done.stdout.decode("utf-8").splitlines()]
        return ProbeResult(done.returncode, {key: unescape(value) for key, _, value in lines},
                           done.stderr.decode("utf-8", "replace"))

    def wait(self, condition: str, timeout_s: float = 15) -> ProbeResult:
        """Polls inside one probe process; true once the condition holds."""
        return self.run("wait", condition, str(int(timeout_s * 1000)), timeout=timeout_s + 60)

"""Runs probe.exe beside the program and parses its key=value lines."""

import subprocess
from dataclasses import dataclass, field
from pathlib import Path
from typing import Dict, List

OK, NOT_FOUND, USAGE = 0, 1, 2  # exit codes of probe.exe (tests/e2e/probe/probe.h)


def unescape(value: str) -> str:
    out, chars = [], iter(value)
    for c in chars:
        out.append({"n": "\n", "r": "\r", "\\": "\\"}.get(next(chars, ""), "") if c == "\\" else c)
    return "".join(out)


@dataclass
class ProbeResult:
    code: int
    values: Dict[str, str] = field(default_factory=dict)
    errors: str = ""

    @property
    def ok(self) -> bool:
        return self.code == OK

    def lines(self, prefix: str) -> List[str]:
        """The numbered list written as prefix.count and prefix.0, prefix.1, ..."""
        count = int(self.values.get(prefix + ".count", "0"))
        return [self.values[f"{prefix}.{i}"] for i in range(count)]


class Probe:
    def __init__(self, wine: Path, probe: Path, env: dict):
        self._command = [str(wine), str(probe)]
        self._env = env

    def run(self, *args: str, timeout: float = 60.0, input: str = "") -> ProbeResult:
        done = subprocess.run(self._command + list(args), env=self._env, capture_output=True,
                              input=input.encode(), timeout=timeout)
        result = ProbeResult(done.returncode, errors=done.stderr.decode("utf-8", "replace"))
        for line in done.stdout.decode("utf-8").splitlines():
            key, sep, value = line.partition("=")
            if sep:
                result.values[key] = unescape(value)
        if result.code == USAGE:
            raise RuntimeError(f"probe usage error: {' '.join(args)}")
        return result

    def wait(self, condition: str, timeout_s: float = 15) -> bool:
        """Polls inside one probe process; True once the condition holds."""
        return self.run("wait", condition, str(int(timeout_s * 1000)), timeout=timeout_s + 60).ok

"""Runs probe.exe beside the program and parses its key=value lines."""

import subprocess
from dataclasses import dataclass, field
from pathlib import Path
from typing import Dict, List

# Exit codes of probe.exe (tests/e2e/probe/commands.h).
OK, NOT_FOUND, USAGE, CALL_FAILED, TIMED_OUT, UNSUPPORTED = range(6)


def _unescape(value: str) -> str:
    out, chars = [], iter(value)
    for c in chars:
        if c == "\\":
            c = {"n": "\n", "r": "\r", "\\": "\\"}.get(next(chars, ""), "")
        out.append(c)
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

    def run(self, *args: str, timeout: float = 60.0) -> ProbeResult:
        done = subprocess.run(self._command + list(args), env=self._env, capture_output=True,
                              stdin=subprocess.DEVNULL, timeout=timeout)
        result = ProbeResult(done.returncode, errors=done.stderr.decode("utf-8", "replace"))
        for line in done.stdout.decode("utf-8").splitlines():
            key, sep, value = line.partition("=")
            if sep:
                result.values[key] = _unescape(value)
        if result.code == USAGE:
            raise RuntimeError(f"probe usage error: {' '.join(args)}")
        return result

    def wait(self, condition: str, timeout_s: float) -> bool:
        """Polls inside one probe process; True once the condition holds."""
        result = self.run("wait", condition, str(int(timeout_s * 1000)), timeout=timeout_s + 60)
        return result.ok

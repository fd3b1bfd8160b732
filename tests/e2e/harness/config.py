"""Where things are: tests/e2e/run's QUOR6_E2E_* variables (the bench's and demo's options)."""

import os
from dataclasses import dataclass
from pathlib import Path


@dataclass(frozen=True)
class Config:
    flavour: str  # "win32" or "win64": which Wine runs the program here
    wine: Path  # the Wine loader of that flavour
    wineserver: Path
    template: Path  # a ready prefix; every session runs on its own copy
    locpath: Path  # holds the ja_JP.UTF-8 locale made with localedef
    program: Path  # quor6.exe
    probe: Path  # probe.exe of the same build
    icons: Path  # the pixel maps the program's icons are made from
    scratch: Path  # per-session prefixes and displays live below this
    artifacts: Path  # screenshots and logs of failed tests, and the README pictures

    @staticmethod
    def from_environment() -> "Config":
        names = [name.upper() for name in Config.__dataclass_fields__][1:]
        if missing := [name for name in names if not os.environ.get("QUOR6_E2E_" + name)]:
            raise RuntimeError(f"QUOR6_E2E_{missing[0]} is not set: start with tests/e2e/run")
        return Config(os.environ.get("QUOR6_E2E_FLAVOUR", "win64"),
                      *(Path(os.environ["QUOR6_E2E_" + name]) for name in names))

"""One bench or demo run's world: a session of the e2e harness (a private Xvfb, a copy of the
Wine prefix template and its own wineserver), made from the options that scripts/bench and
scripts/demo pass. Everything started in it is ended by PID when the with-block ends."""

import argparse
import subprocess
from contextlib import contextmanager
from pathlib import Path
from typing import Iterator

from harness import processes
from harness.config import Config
from harness.session import GameSession

POINTER_PARK = (1000, 750)  # far from the tray: no mouse message may reach an icon
START_TIMEOUT = 60.0


def add_arguments(parser: argparse.ArgumentParser) -> None:
    parser.add_argument("--tree", type=Path, required=True,
                        help="the build tree whose programs run under Wine here")
    parser.add_argument("--flavour", choices=("win32", "win64"), required=True)
    for name in ("wine", "wineserver", "template", "locpath", "scratch"):
        parser.add_argument(f"--{name}", type=Path, required=True)
    parser.add_argument("--icons", type=Path, required=True, help="resources/icons")


@contextmanager
def wine_world(args: argparse.Namespace, keep_desktop: bool = True) -> Iterator[GameSession]:
    config = Config(flavour=args.flavour, wine=args.wine, wineserver=args.wineserver,
                    template=args.template, locpath=args.locpath,
                    program=args.tree / "quor6.exe", probe=args.tree / "tests/e2e/probe.exe",
                    icons=args.icons, scratch=args.scratch, artifacts=args.scratch)
    processes.clear_leftovers(config.scratch)  # an interrupted run leaves its world behind
    session = GameSession(config, "world")
    try:
        session.start()
        if keep_desktop:
            # Wine's desktop process (and its tray window) quits when the last program of the
            # prefix ends. An idle cmd.exe waiting for input keeps it, as a real desktop stays
            # up between two programs, so that every start is timed against a running tray.
            session.launch("cmd.exe", stdin=subprocess.PIPE)
        yield session
    finally:
        session.close()


def close_program(session: GameSession, image_name: str, program: subprocess.Popen,
                  timeout: float = 30.0) -> int:
    """Ends a program the way the shell would, with WM_CLOSE to its windows (taskkill
    without /f), so that it removes its tray icons itself; returns its exit code."""
    session.launch("taskkill", "/im", image_name).wait(timeout)
    return program.wait(timeout)

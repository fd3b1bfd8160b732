"""A private Xvfb, a copy of the Wine prefix template and its own wineserver, for one bench or
demo run. Everything started here is ended by PID when the with-block ends."""

import argparse
import os
import shutil
import subprocess
import tempfile
from dataclasses import dataclass
from pathlib import Path
from typing import List, Optional

from harness import processes

# Every process a world starts carries WORLD_MARK=<its directory> in its environment, and Wine
# passes it on to every Windows process of the prefix (explorer, services), so that all of them
# can be found and ended, even after an interrupted run.
WORLD_MARK = "QUOR6_BENCH_WORLD"

_WINE_VARIABLES = ("DISPLAY", "WINEPREFIX", "WINEARCH", "WINELOADER", "WINEDEBUG",
                   "WINEDLLOVERRIDES", "WINESERVER", "LC_ALL", "LANG", "LOCPATH")


@dataclass(frozen=True)
class WineSetup:
    flavour: str  # "win32" or "win64"
    wine: Path
    wineserver: Path
    template: Path
    locpath: Path
    scratch: Path  # the world's directory is made below this

    @staticmethod
    def add_arguments(parser: argparse.ArgumentParser) -> None:
        """The command-line options that scripts/bench and scripts/demo pass for a world."""
        parser.add_argument("--flavour", choices=("win32", "win64"), required=True)
        parser.add_argument("--wine", type=Path, required=True)
        parser.add_argument("--wineserver", type=Path, required=True)
        parser.add_argument("--template", type=Path, required=True)
        parser.add_argument("--locpath", type=Path, required=True)
        parser.add_argument("--scratch", type=Path, required=True)

    @classmethod
    def from_arguments(cls, args: argparse.Namespace) -> "WineSetup":
        return cls(args.flavour, args.wine, args.wineserver, args.template, args.locpath,
                   args.scratch)


class WineWorld:
    def __init__(self, setup: WineSetup, keep_desktop: bool = True):
        self.setup = setup
        self._keep_desktop = keep_desktop
        self.directory: Optional[Path] = None
        self.display = ""
        self.env: dict = {}
        self._log = None
        self._xvfb: Optional[subprocess.Popen] = None
        self._server: Optional[subprocess.Popen] = None
        self._programs: List[subprocess.Popen] = []

    def __enter__(self) -> "WineWorld":
        try:
            self._start()
        except BaseException:
            self._close()
            raise
        return self

    def __exit__(self, *_) -> None:
        self._close()

    def _start(self) -> None:
        self.setup.scratch.mkdir(parents=True, exist_ok=True)
        clear_leftovers(self.setup.scratch)
        self.directory = Path(tempfile.mkdtemp(prefix="world.", dir=self.setup.scratch))
        self._log = open(self.directory / "processes.log", "wb")
        self.env = {key: value for key, value in os.environ.items() if key not in _WINE_VARIABLES}
        self.env[WORLD_MARK] = str(self.directory)
        self._xvfb, self.display = processes.start_xvfb(self._log, self.env)
        prefix = self.directory / "prefix"
        subprocess.run(["cp", "-a", str(self.setup.template), str(prefix)], check=True)
        # The copy must not reuse the template's server directory name.
        (prefix / "wineserver").unlink(missing_ok=True)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": str(prefix),
            "WINEARCH": self.setup.flavour,
            "WINELOADER": str(self.setup.wine),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LOCPATH": str(self.setup.locpath),
            "LANG": "ja_JP.UTF-8",
        })
        self._server = processes.start_wineserver(self.setup.wineserver, self.env, prefix, self._log)
        if self._keep_desktop:
            # Wine's desktop process (and its tray window) quits when the last program of the
            # prefix ends. An idle cmd.exe waiting for input keeps it, as a real desktop stays
            # up between two programs, so that every start is timed against a running tray.
            self.launch("cmd.exe", stdin=subprocess.PIPE)

    def launch(self, program: str, *arguments: str, stdin=subprocess.DEVNULL,
               stdout=None) -> subprocess.Popen:
        started = subprocess.Popen([str(self.setup.wine), program, *arguments], env=self.env,
                                   stdin=stdin, stdout=stdout if stdout is not None else self._log,
                                   stderr=self._log)
        self._programs.append(started)
        return started

    def run(self, *command: str, timeout: float = 60.0) -> subprocess.CompletedProcess:
        """A Linux tool (xdotool, import) on this world's display."""
        return subprocess.run(command, env=self.env, capture_output=True, timeout=timeout,
                              check=True)

    def close_program(self, image_name: str, program: subprocess.Popen, timeout: float = 30.0) -> int:
        """Ends a program the way the shell would, with WM_CLOSE to its windows (taskkill
        without /f), so that it removes its tray icons itself; returns its exit code."""
        subprocess.run([str(self.setup.wine), "taskkill", "/im", image_name], env=self.env,
                       stdout=self._log, stderr=self._log, timeout=timeout)
        code = program.wait(timeout)
        self._programs.remove(program)
        return code

    def _close(self) -> None:
        if self.directory is None:
            return
        if self._server is not None:
            # Ends every Windows process of the prefix (explorer's tray too), then the server.
            subprocess.run([str(self.setup.wineserver), "-k"], env=self.env, stdout=self._log,
                           stderr=self._log, timeout=30)
            processes.stop(self._server, timeout=10)
        for program in self._programs:
            processes.stop(program)
        processes.kill_pids(processes.marked_pids(WORLD_MARK, self.directory))
        processes.stop(self._xvfb)
        self._log.close()
        shutil.rmtree(self.directory, ignore_errors=True)
        self.directory = None


def clear_leftovers(scratch: Path) -> None:
    """An interrupted run leaves its world behind, maybe with processes still running."""
    for old in scratch.glob("world.*"):
        processes.kill_pids(processes.marked_pids(WORLD_MARK, old))
        shutil.rmtree(old, ignore_errors=True)

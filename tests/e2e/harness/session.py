"""One session's world: its own Xvfb, copy of the prefix and wineserver, and the program in it.
Everything started here is ended by PID in close(), also when the test failed."""

import os
import re
import shutil
import subprocess
import tempfile
from pathlib import Path
from typing import List, Optional, Sequence, Tuple

from . import processes
from .config import Config
from .player import Player
from .polling import DEFAULT_TIMEOUT, WaitTimeout, wait_until
from .probe import Probe, ProbeResult
from .tray import SLOTS, TrayReader, TrayReading, TrayWindow

# Wine's systray trace (Wine 8): the program's own delete requests, the tray's removals by uID.
_DELETE_REQUEST = re.compile(r":trace:systray:Shell_NotifyIcon[AW] dwMessage = 2\b")
_ICON_HIDDEN = re.compile(r":trace:systray:hide_icon id=0x([0-9a-fA-F]+)")
_WINE_VARIABLES = ("DISPLAY", "WINEPREFIX", "WINEARCH", "WINELOADER", "WINEDEBUG",
                   "WINEDLLOVERRIDES", "WINESERVER", "LC_ALL", "LANG", "LOCPATH")


class GameSession:
    def __init__(self, config: Config, name: str, trace_tray: bool = False,
                 dpi: Optional[int] = None):
        self.config, self._name = config, name.rsplit(".", 1)[-1]
        self._trace_tray, self._dpi = trace_tray, dpi
        self.directory: Optional[Path] = None
        self._server = False
        self._programs: List[subprocess.Popen] = []

    def start(self, wine: bool = True) -> None:
        """Without wine, only the display, for a test that makes its own Wine world."""
        self.config.scratch.mkdir(parents=True, exist_ok=True)
        self.directory = Path(tempfile.mkdtemp(prefix=self._name + ".", dir=self.config.scratch))
        self._log = open(self.directory / "processes.log", "wb")
        self.env = {key: value for key, value in os.environ.items() if key not in _WINE_VARIABLES}
        self.env[processes.SESSION_MARK] = str(self.directory)
        self._xvfb, self.env["DISPLAY"] = processes.start_xvfb(self._log, self.env)
        self.tray, self.player = TrayReader(self.env, self.config.icons), Player(self.env)
        if not wine:
            return
        self.prefix = self.directory / "prefix"
        subprocess.run(["cp", "-a", str(self.config.template), str(self.prefix)], check=True)
        (self.prefix / "wineserver").unlink(missing_ok=True)  # the template's server's name
        if self._dpi is not None:
            # Read when a process starts, explorer's tray included: set before the first one (a
            # key written twice gets the values of both).
            with open(self.prefix / "user.reg", "a", encoding="utf-8") as settings:
                settings.write('\n[Control Panel\\\\Desktop]\n'
                               f'"LogPixels"=dword:{self._dpi:08x}\n')
        self.env.update({
            "WINEPREFIX": str(self.prefix), "WINEARCH": self.config.flavour,
            "WINELOADER": str(self.config.wine), "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "WINEDEBUG": "-all,trace+systray" if self._trace_tray else "-all",
            "LOCPATH": str(self.config.locpath), "LANG": "ja_JP.UTF-8"})
        # The prefix's own persistent server, before any other Wine command: a server that a
        # Wine command starts by itself quits seconds after its last client, and every next
        # command pays a cold start. Its first process returns once the server listens.
        subprocess.run([str(self.config.wineserver), "-p"], env=self.env, stdout=self._log,
                       stderr=self._log, check=True, timeout=60)
        self._server = True
        self.probe = Probe(self.config.wine, self.config.probe, self.env)

    def close(self) -> None:
        if self.directory is None:
            return
        if self._server:
            # Ends every Windows process of the prefix (explorer's tray too), then the server.
            subprocess.run([str(self.config.wineserver), "-k"], env=self.env,
                           stdout=self._log, stderr=self._log, timeout=30)
        for program in self._programs:
            processes.stop(program)
        processes.stop(self._xvfb)
        processes.kill_pids(processes.pids_of_session(self.directory))
        self._log.close()
        shutil.rmtree(self.directory, ignore_errors=True)
        self.directory = None

    def launch(self, *command: str, stdin=subprocess.DEVNULL, stdout=None,
               wine: bool = True) -> subprocess.Popen:
        """quor6.exe as a player starts it (no arguments, no virtual desktop), or the command."""
        command = [str(self.config.wine)] * wine + list(command or [self.config.program])
        program = subprocess.Popen(command, env=self.env, stdin=stdin, stdout=stdout or self._log,
                                   stderr=self._log)
        self._programs.append(program)
        return program

    def run_wine(self, *command: str) -> None:
        """To its end. No pipes: the prefix's services, started by it, would hold them open."""
        subprocess.run([str(self.config.wine), *command], env=self.env, check=True, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def state(self) -> ProbeResult:
        return self.probe.run("state")

    def guess(self) -> Optional[str]:
        return self.state().values.get("guess")

    def wait_guess(self, wanted: str) -> None:
        if not self.probe.wait(f"guess={wanted}"):
            raise AssertionError(f"the guess never became {wanted}; it is {self.guess()!r}")

    def find_tray(self, timeout: float = 4 * DEFAULT_TIMEOUT) -> TrayWindow:
        try:
            return wait_until(self.tray.find, lambda tray: tray is not None and tray.viewable,
                              "the Wine System Tray window to be shown", timeout)
        except WaitTimeout as error:  # with what the session runs, and the end of its log
            self._log.flush()
            log = (self.directory / "processes.log").read_text(errors="replace")[-1500:]
            pids = ",".join(map(str, processes.pids_of_session(self.directory))) or "0"
            running = subprocess.run(["ps", "-o", "args=", "-p", pids], capture_output=True,
                                     text=True).stdout
            raise WaitTimeout(f"{error}\nrunning:\n{running}end of the log:\n{log}") from None

    def wait_tray(self, tray: TrayWindow, symbols: Sequence[str]) -> TrayReading:
        """Waits until the five slots show the symbols and the cells right of them no icon."""
        wanted = tuple(symbols) + ("blank",) * (tray.cell_count - SLOTS)
        return wait_until(lambda: self.tray.read(tray, tray.cell_count),
                          lambda reading: reading.symbols == wanted,
                          "the tray to show " + " | ".join(symbols))

    def wait_tray_hidden(self) -> None:
        wait_until(self.tray.find, lambda tray: tray is None or not tray.viewable,
                   "the tray window to be hidden (all icons removed)")

    def tray_deletions(self) -> Tuple[int, List[int]]:
        """With trace_tray: the program's delete requests, and the uIDs the tray took away in
        order (Wine also drops a destroyed window's icons: the tray alone cannot tell)."""
        self._log.flush()
        text = (self.directory / "processes.log").read_text(errors="replace")
        return len(_DELETE_REQUEST.findall(text)), [int(n, 16) for n in _ICON_HIDDEN.findall(text)]

    def save_evidence(self, directory: Path) -> None:
        directory.mkdir(parents=True, exist_ok=True)
        self._log.flush()
        shutil.copy(self.directory / "processes.log", directory / "processes.log")
        # A probe as the first Wine process of a world would sit until its time-out.
        state = self.state().values if self._server and self._programs else {}
        (directory / "state.txt").write_text("".join(f"{key}={value}\n" for key, value in
                                                     state.items()), encoding="utf-8")
        self.tray.save_screen(directory / "screen.png")

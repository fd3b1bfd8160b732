"""One test's world: its own Xvfb, its own copy of the prefix and its own wineserver.

Everything started here is ended by PID in close(), also when the test failed."""

import os
import re
import shutil
import subprocess
import tempfile
from pathlib import Path
from typing import List, Optional, Sequence

from . import processes
from .config import Config
from .pixmaps import FRAME_SIZES, load_tray_references
from .player import Player
from .polling import DEFAULT_TIMEOUT, wait_until
from .probe import Probe, ProbeResult
from .tray import SLOTS, TrayReader, TrayReading, TrayWindow

# Wine's systray trace (Wine 8): the program's own requests, and the tray's removals by uID.
_DELETE_REQUEST = re.compile(r":trace:systray:Shell_NotifyIcon[AW] dwMessage = 2\b")
_ICON_HIDDEN = re.compile(r":trace:systray:hide_icon id=0x([0-9a-fA-F]+)")

_WINE_VARIABLES = ("DISPLAY", "WINEPREFIX", "WINEARCH", "WINELOADER", "WINEDEBUG",
                   "WINEDLLOVERRIDES", "WINESERVER", "LC_ALL", "LANG", "LOCPATH")


class GameSession:
    def __init__(self, config: Config, name: str, trace_tray: bool = False,
                 dpi: Optional[int] = None):
        self.config = config
        self._name = name
        self._trace_tray = trace_tray
        self._dpi = dpi
        self.directory: Optional[Path] = None
        self._log = None
        self._xvfb: Optional[subprocess.Popen] = None
        self._server: Optional[subprocess.Popen] = None
        self._programs: List[subprocess.Popen] = []
        self.env: dict = {}

    # --- life cycle -------------------------------------------------------------------------

    def start(self) -> None:
        self.config.scratch.mkdir(parents=True, exist_ok=True)
        self.directory = Path(tempfile.mkdtemp(prefix=self._name.rsplit(".", 1)[-1] + ".",
                                               dir=self.config.scratch))
        self._log = open(self.directory / "processes.log", "wb")
        self.env = {key: value for key, value in os.environ.items() if key not in _WINE_VARIABLES}
        self.env[processes.SESSION_MARK] = str(self.directory)
        self._xvfb, display = processes.start_xvfb(self._log, self.env)
        prefix = self.directory / "prefix"
        subprocess.run(["cp", "-a", str(self.config.template), str(prefix)], check=True)
        # The copy must not reuse the template's server directory name.
        (prefix / "wineserver").unlink(missing_ok=True)
        if self._dpi is not None:
            _set_dpi(prefix, self._dpi)
        self.env.update({
            "DISPLAY": display,
            "WINEPREFIX": str(prefix),
            "WINEARCH": self.config.flavour,
            "WINELOADER": str(self.config.wine),
            "WINEDEBUG": "-all,trace+systray" if self._trace_tray else "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "LOCPATH": str(self.config.locpath),
            "LANG": "ja_JP.UTF-8",
        })
        self._server = processes.start_wineserver(self.config.wineserver, self.env, prefix, self._log)
        self.probe = Probe(self.config.wine, self.config.probe, self.env)
        self.tray = TrayReader(self.env, {size: load_tray_references(self.config.icons, size)
                                          for size in FRAME_SIZES})
        self.player = Player(self.env)

    def close(self) -> None:
        if self.directory is None:
            return
        if self._server is not None:
            # Ends every Windows process of the prefix (explorer's tray too), then the server.
            subprocess.run([str(self.config.wineserver), "-k"], env=self.env,
                           stdout=self._log, stderr=self._log, timeout=30)
            processes.stop(self._server, timeout=10)
        for program in self._programs:
            processes.stop(program)
        processes.stop(self._xvfb)
        processes.kill_pids(processes.pids_of_session(self.directory))
        self._log.close()
        shutil.rmtree(self.directory, ignore_errors=True)
        self.directory = None

    # --- the program ------------------------------------------------------------------------

    def launch(self, *command: str, stdin=subprocess.DEVNULL, stdout=None) -> subprocess.Popen:
        """Starts quor6.exe as a player would: no arguments, no virtual desktop; or, given a
        command, another Windows program (the bench's)."""
        command = command or (str(self.config.program),)
        program = subprocess.Popen([str(self.config.wine), *command], env=self.env, stdin=stdin,
                                   stdout=stdout or self._log, stderr=self._log)
        self._programs.append(program)
        return program

    def state(self) -> ProbeResult:
        return self.probe.run("state")

    def guess(self) -> Optional[str]:
        return self.state().values.get("guess")

    def wait_guess(self, wanted: str, timeout: float = DEFAULT_TIMEOUT) -> None:
        if not self.probe.wait(f"guess={wanted}", timeout):
            raise AssertionError(f"the guess never became {wanted}; it is {self.guess()!r}")

    def wait_exit(self, program: subprocess.Popen, timeout: float = DEFAULT_TIMEOUT) -> int:
        try:
            return program.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the program did not end within {timeout:.0f} s") from None

    # --- the tray ---------------------------------------------------------------------------

    def find_tray(self, timeout: float = 4 * DEFAULT_TIMEOUT) -> TrayWindow:
        # Wine's explorer starts with the program. The first session on a fresh machine has been
        # seen to take more than 30 s for it (caches made once), later ones take a few seconds.
        return wait_until(self.tray.find, lambda tray: tray is not None and tray.viewable,
                          "the Wine System Tray window to be shown", timeout)

    def read_tray(self, tray: TrayWindow) -> TrayReading:
        return self.tray.read(tray)

    def wait_tray(self, tray: TrayWindow, symbols: Sequence[str],
                  timeout: float = DEFAULT_TIMEOUT) -> TrayReading:
        wanted = tuple(symbols)
        return wait_until(lambda: self.tray.read(tray), lambda reading: reading.symbols == wanted,
                          "the tray to show " + " | ".join(wanted), timeout)

    def extra_icons(self, tray: TrayWindow) -> TrayReading:
        """The cells right of slot 5: empty ones read as "blank", being the tray's white."""
        return TrayReading(self.tray.read(tray, tray.cell_count).cells[SLOTS:])

    def wait_tray_hidden(self, timeout: float = DEFAULT_TIMEOUT) -> None:
        """Wine hides its tray window once the last icon is gone."""
        wait_until(self.tray.find, lambda tray: tray is None or not tray.viewable,
                   "the tray window to be hidden (all icons removed)", timeout)

    def tray_deletions(self) -> "tuple[int, List[int]]":
        """With trace_tray: how many delete requests the program's processes made, and the
        uIDs of the icons the tray then took away, in order. Wine also drops the icons of a
        window that is destroyed, so the tray alone cannot show that the program deleted them."""
        self._log.flush()
        text = (self.directory / "processes.log").read_text(encoding="utf-8", errors="replace")
        requests = len(_DELETE_REQUEST.findall(text))
        return requests, [int(uid, 16) for uid in _ICON_HIDDEN.findall(text)]

    # --- evidence ---------------------------------------------------------------------------

    def save_evidence(self, directory: Path) -> None:
        """The screen and the program's state at the end of a test, kept for a look after a failure."""
        directory.mkdir(parents=True, exist_ok=True)
        try:
            self.tray.save_screen(directory / "screen.png")
            if self._programs:
                state = self.state()
                text = f"probe exit code {state.code}\n" + "".join(
                    f"{key}={value}\n" for key, value in state.values.items())
            else:
                # A probe as the first Wine process of a world sits until its time-out, and
                # with nothing launched there is no state to read.
                text = "no program was launched\n"
            (directory / "state.txt").write_text(text, encoding="utf-8")
        except (subprocess.SubprocessError, OSError) as problem:
            (directory / "evidence-error.txt").write_text(str(problem), encoding="utf-8")
        if self.directory is not None:
            self._log.flush()
            shutil.copy(self.directory / "processes.log", directory / "processes.log")


def _set_dpi(prefix: Path, dpi: int) -> None:
    """Sets the screen's DPI of a prefix whose processes have not started: Wine reads it from
    LogPixels under HKCU\\Control Panel\\Desktop when a process starts, explorer's tray
    included, so it is written into user.reg before the first one."""
    user_reg = prefix / "user.reg"
    lines = user_reg.read_text(encoding="utf-8").split("\n")
    header = "[Control Panel\\\\Desktop]"
    value = f'"LogPixels"=dword:{dpi:08x}'
    start = next((i for i, line in enumerate(lines) if line.startswith(header + " ")), None)
    if start is None:
        lines += ["", header, value]
    else:
        end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("[")),
                   len(lines))
        section = [line for line in lines[start + 1:end] if not line.startswith('"LogPixels"=')]
        options = [line for line in section if line.startswith("#")]  # #time= and the like
        values = [line for line in section if not line.startswith("#")]
        lines[start + 1:end] = options + [value] + values
    user_reg.write_text("\n".join(lines), encoding="utf-8")

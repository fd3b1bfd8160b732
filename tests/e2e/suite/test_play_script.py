"""./scripts/play's own launch (its prefix made from nothing in a scratch data directory) on a
display where a desktop's XEmbed tray (trayer) runs: the player sees 1 2 3 4 and the sphere
left to right, presses an icon, and quits from the tray menu."""

import ctypes
import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import processes
from harness.config import Config
from harness.game import MENU_ROWS, MENU_SLOT, START_TRAY, rect_of
from harness.player import LEFT, RIGHT, Player
from harness.polling import wait_until
from harness.probe import Probe
from harness.tray import TrayReader

REPO = Path(__file__).resolve().parents[3]
FIRST_START_TIMEOUT = 300.0  # making the player's prefix (wineboot), on a loaded machine


def tray_selection_owned(display: str) -> bool:
    """Whether a desktop tray owns _NET_SYSTEM_TRAY_S0 on the display, as Wine checks."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XInternAtom.restype = x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        return False
    try:
        atom = x11.XInternAtom(connection, b"_NET_SYSTEM_TRAY_S0", 0)
        return x11.XGetSelectionOwner(connection, atom) != 0
    finally:
        x11.XCloseDisplay(connection)


class PlayScriptTest(unittest.TestCase):
    def setUp(self):
        self.config = Config.from_environment()
        self.config.scratch.mkdir(parents=True, exist_ok=True)
        self.directory = Path(tempfile.mkdtemp(prefix="play-script.", dir=self.config.scratch))
        self.addCleanup(shutil.rmtree, self.directory, ignore_errors=True)
        self.log = open(self.directory / "processes.log", "wb")
        self.addCleanup(self.log.close)
        self.env = {key: value for key, value in os.environ.items()
                    if not key.startswith("WINE") and key not in ("LANG", "LC_ALL", "LOCPATH")}
        self.env.update({processes.SESSION_MARK: str(self.directory),
                         "XDG_DATA_HOME": str(self.directory / "data")})
        # Runs last: whatever the steps below left, found by the session mark.
        self.addCleanup(lambda: processes.kill_pids(processes.pids_of_session(self.directory)))
        xvfb, self.env["DISPLAY"] = processes.start_xvfb(self.log, self.env)
        self.addCleanup(processes.stop, xvfb)
        trayer = self.start(["trayer", "--edge", "top", "--align", "right", "--height", "24",
                             "--widthtype", "request"])
        wait_until(lambda: tray_selection_owned(self.env["DISPLAY"]), bool, "trayer's tray")
        self.assertIsNone(trayer.poll(), "trayer ended")
        self.reader = TrayReader(self.env, self.config.icons)

    def start(self, command) -> subprocess.Popen:
        process = subprocess.Popen(command, env=self.env, stdout=self.log, stderr=self.log)
        self.addCleanup(processes.stop, process)
        return process

    def read_icons(self, play: subprocess.Popen):
        """Every icon shown, left to right: in Wine's tray window, and docked in trayer's panel
        (drawn unscaled, centred, but on the panel: read as the nearest icon, if near)."""
        self.assertIsNone(play.poll(), "./scripts/play ended")
        found, tray = [], self.reader.find()
        if tray is not None and tray.viewable:
            found = [(tray.x + tray.cell * index, symbol) for index, symbol in enumerate(
                self.reader.read(tray, tray.cell_count).symbols) if symbol != "blank"]
        references = self.reader.references(16)
        panels = subprocess.run(["xdotool", "search", "--classname", "^panel$"], env=self.env,
                                capture_output=True).stdout.split()
        for panel in panels:
            tree = self.reader.run("xwininfo", "-tree", "-id", panel.decode()).decode()
            for line in tree.splitlines():
                if '("explorer.exe" "explorer.exe")' in line:  # Wine's tray host draws them
                    size, corner = line.split()[-2:]  # "20x22+0+0" "+923+1"
                    width, height = (int(n) for n in size.split("+")[0].split("x"))
                    x, y = (int(n) for n in corner.lstrip("+").split("+"))
                    cell = self.reader.pixels((x + (width - 16) // 2, y + (height - 16) // 2,
                                               x + (width + 16) // 2, y + (height + 16) // 2))
                    symbol, differing = TrayReader.classify(cell, references)
                    found.append((x, symbol if differing <= 64 else None))
        return tuple(symbol for _, symbol in sorted(found))

    def test_icons_read_1234_sphere_beside_a_desktop_tray_and_the_game_plays_and_quits(self):
        play = self.start([str(REPO / "scripts" / "play"), "--exe", str(self.config.program)])
        wine_env = {**self.env, "WINEPREFIX": str(self.directory / "data" / "quor6" / "prefix")}
        self.addCleanup(subprocess.run, [str(self.config.wineserver), "-k"], env=wine_env,
                        stdout=self.log, stderr=self.log, timeout=30)
        self.addCleanup(self.reader.save_screen, self.config.artifacts / self.id() / "screen.png")
        # Five read icons, wherever they are; a cell caught half drawn reads as None.
        shown = wait_until(lambda: self.read_icons(play),
                           lambda icons: len(icons) >= 5 and None not in icons,
                           "five icons on the screen", FIRST_START_TIMEOUT)
        self.assertEqual(shown, START_TRAY, "the icons left to right")

        tray, player = self.reader.find(), Player(self.env)
        player.click(tray, 4, LEFT)
        wait_until(lambda: self.read_icons(play), lambda icons: icons == ("1", "2", "3", "5",
                                                                          "sphere"), "1235")
        player.click(tray, MENU_SLOT, RIGHT)
        probe = Probe(self.config.wine, self.config.probe, wine_env)
        self.assertTrue(probe.wait("menu"), "the tray menu did not open")
        player.click_at(*self.reader.menu_rows(rect_of(probe.run("menu")))[MENU_ROWS.index("終了")])
        self.assertEqual(play.wait(30), 0, "./scripts/play must end with the game")

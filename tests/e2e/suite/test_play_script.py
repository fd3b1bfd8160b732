"""./scripts/play's own launch (its prefix made from nothing in a scratch data directory) on a
display where a desktop's XEmbed tray (trayer) runs: the player sees 1 2 3 4 and the sphere
left to right, presses an icon, and quits from the tray menu."""

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
        wait_until(self.panels, bool, "trayer's panel on the screen")
        self.assertIsNone(trayer.poll(), "trayer ended")
        self.reader = TrayReader(self.env, self.config.icons)

    def panels(self):
        return subprocess.run(["xdotool", "search", "--classname", "^panel$"], env=self.env,
                              capture_output=True, text=True).stdout.split()

    def start(self, command) -> subprocess.Popen:
        process = subprocess.Popen(command, env=self.env, stdout=self.log, stderr=self.log)
        self.addCleanup(processes.stop, process)
        return process

    def read_icons(self, play: subprocess.Popen):
        """The icons of Wine's tray window. Docked into trayer's panel instead, they would be
        drawn on the panel in another order (sphere 4 3 2 1), and never read as the start."""
        self.assertIsNone(play.poll(), "./scripts/play ended")
        tray = self.reader.find()
        return self.reader.read(tray).symbols if tray and tray.viewable else ()

    def test_icons_read_1234_sphere_beside_a_desktop_tray_and_the_game_plays_and_quits(self):
        play = self.start([str(REPO / "scripts" / "play"), "--exe", str(self.config.program)])
        wine_env = {**self.env, "WINEPREFIX": str(self.directory / "data" / "quor6" / "prefix")}
        self.addCleanup(subprocess.run, [str(self.config.wineserver), "-k"], env=wine_env,
                        stdout=self.log, stderr=self.log, timeout=30)
        self.addCleanup(self.reader.save_screen, self.config.artifacts / self.id() / "screen.png")
        wait_until(lambda: self.read_icons(play), lambda icons: icons == START_TRAY,
                   "1 2 3 4 and the sphere in Wine's tray", FIRST_START_TIMEOUT)

        tray, player = self.reader.find(), Player(self.env)
        player.click(tray, 4, LEFT)
        wait_until(lambda: self.read_icons(play), lambda icons: icons == ("1", "2", "3", "5",
                                                                          "sphere"), "1235")
        player.click(tray, MENU_SLOT, RIGHT)
        probe = Probe(self.config.wine, self.config.probe, wine_env)
        self.assertTrue(probe.wait("menu"), "the tray menu did not open")
        player.click_at(*self.reader.menu_rows(rect_of(probe.run("menu")))[MENU_ROWS.index("終了")])
        self.assertEqual(play.wait(30), 0, "./scripts/play must end with the game")

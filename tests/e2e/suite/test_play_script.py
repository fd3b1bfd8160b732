"""./scripts/play's own launch (its prefix made from nothing in a scratch data directory) on a
display where a desktop's XEmbed tray (trayer) runs: the player sees 1 2 3 4 and the sphere
left to right, presses an icon, and quits from the tray menu."""

import os
import shutil
import subprocess
import tempfile
import unittest
from pathlib import Path

from game_case import MENU_ROWS, MENU_SLOT, START_TRAY
from harness import processes
from harness.config import Config
from harness.menu import MenuRect, text_rows
from harness.pixmaps import TRAY_SIZE, load_tray_references
from harness.player import LEFT, RIGHT, Player
from harness.polling import wait_until
from harness.probe import Probe
from harness.screen_icons import icons_left_to_right, tray_selection_owned
from harness.tray import TrayReader

REPO = Path(__file__).resolve().parents[3]
# Making the player's prefix (wineboot) is most of it; slow on a loaded two-core machine.
FIRST_START_TIMEOUT = 300.0


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
        self.env[processes.SESSION_MARK] = str(self.directory)
        self.env["XDG_DATA_HOME"] = str(self.directory / "data")
        # Runs last: whatever the steps below left, found by the session mark.
        self.addCleanup(lambda: processes.kill_pids(processes.pids_of_session(self.directory)))
        xvfb, self.env["DISPLAY"] = processes.start_xvfb(self.log, self.env)
        self.addCleanup(processes.stop, xvfb)
        trayer = self.start(["trayer", "--edge", "top", "--align", "right", "--height", "24",
                             "--widthtype", "request"])
        wait_until(lambda: tray_selection_owned(self.env["DISPLAY"]), bool,
                   "trayer to own the tray selection")
        self.assertIsNone(trayer.poll(), "trayer ended")
        self.references = load_tray_references(self.config.icons)
        self.reader = TrayReader(self.env, {TRAY_SIZE: self.references})

    def start(self, command) -> subprocess.Popen:
        process = subprocess.Popen(command, env=self.env, stdout=self.log, stderr=self.log)
        self.addCleanup(processes.stop, process)
        return process

    def wine_env(self) -> dict:
        """The player's prefix, where ./scripts/play makes it."""
        return {**self.env, "WINEPREFIX": str(self.directory / "data" / "quor6" / "prefix")}

    def end_wine(self) -> None:
        subprocess.run([str(self.config.wineserver), "-k"], env=self.wine_env(), stdout=self.log,
                       stderr=self.log, timeout=30)

    def read_icons(self, play: subprocess.Popen):
        if play.poll() is not None:
            raise AssertionError(f"./scripts/play ended with {play.returncode}")
        return tuple(icons_left_to_right(self.reader, self.references, self.env))

    def test_icons_read_1234_sphere_beside_a_desktop_tray_and_the_game_plays_and_quits(self):
        play = self.start([str(REPO / "scripts" / "play"), "--exe", str(self.config.program)])
        self.addCleanup(self.end_wine)
        self.addCleanup(self.reader.save_screen,
                        self.config.artifacts / self.id() / "screen.png")
        # Five read icons, wherever they are; a cell caught half drawn reads as None.
        shown = wait_until(lambda: self.read_icons(play),
                           lambda icons: len(icons) >= 5 and None not in icons,
                           "five icons on the screen", FIRST_START_TIMEOUT)
        self.assertEqual(shown, START_TRAY, "the icons left to right")

        tray = self.reader.find()
        player = Player(self.env)
        player.click(tray, 4, LEFT)
        stepped = ("1", "2", "3", "5", "sphere")
        wait_until(lambda: self.read_icons(play), lambda icons: icons == stepped,
                   "a left click on the fourth icon to step it to 5")

        player.click(tray, MENU_SLOT, RIGHT)
        probe = Probe(self.config.wine, self.config.probe, self.wine_env())
        self.assertTrue(probe.wait("menu", 15), "the tray menu did not open")
        rows = text_rows(self.reader, MenuRect.parse(probe.run("menu").values["rect"]))
        player.click_at(*rows[MENU_ROWS.index("終了")])
        self.assertEqual(play.wait(30), 0, "./scripts/play must end with the game")

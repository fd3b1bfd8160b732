"""./scripts/play (its own new prefix) beside an XEmbed tray (trayer): 1 2 3 4 sphere, a press."""

from pathlib import Path

from harness.game import MENU_ROWS, MENU_SLOT, START_TRAY, GameCase, rect_of, tray_of_guess
from harness.player import LEFT, RIGHT
from harness.polling import wait_until
from harness.probe import Probe

REPO = Path(__file__).resolve().parents[3]
FIRST_START_TIMEOUT = 300.0  # making the player's prefix (wineboot), on a loaded machine


class PlayScriptTest(GameCase):
    wine = False  # ./scripts/play makes its own Wine world

    def test_icons_read_1234_sphere_beside_a_desktop_tray_and_the_game_plays_and_quits(self):
        self.session.env["XDG_DATA_HOME"] = str(self.session.directory / "data")
        trayer = self.session.launch("trayer", "--edge", "top", "--align", "right", "--height",
                                     "24", "--widthtype", "request", wine=False)
        self.x_windows("--classname", "^panel$")  # trayer's panel on the screen
        self.assertIsNone(trayer.poll(), "trayer ended")
        play = self.session.launch(str(REPO / "scripts" / "play"), "--exe",
                                   str(self.config.program), wine=False)

        def icons():  # Wine's tray window: docked in trayer's panel, they would read sphere 4 3 2 1
            self.assertIsNone(play.poll(), "./scripts/play ended")
            tray = self.session.tray.find()
            return self.session.tray.read(tray).symbols if tray and tray.viewable else ()

        for wanted in (START_TRAY, tray_of_guess("1235")):
            wait_until(icons, lambda seen: seen == wanted, " ".join(wanted), FIRST_START_TIMEOUT)
            if wanted == START_TRAY:
                self.player.click(self.session.tray.find(), 4, LEFT)
        self.player.click(self.session.tray.find(), MENU_SLOT, RIGHT)
        prefix = self.session.directory / "data" / "quor6" / "prefix"
        probe = Probe(self.config.wine, self.config.probe, {**self.session.env,
                                                            "WINEPREFIX": str(prefix)})
        self.assertTrue(probe.wait("menu"), "the tray menu did not open")
        rows = self.session.tray.menu_rows(rect_of(probe.run("menu")))
        self.player.click_at(*rows[MENU_ROWS.index("終了")])
        self.assertEqual(play.wait(30), 0, "./scripts/play must end with the game")

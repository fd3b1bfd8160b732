"""The base of every end-to-end test: a fresh session per test, the game started in it, and
the moves of a player (step digits, judge, open the menu, read the answer box)."""

import subprocess
import unittest
from typing import Dict, List, Sequence, Tuple

from harness.config import Config
from harness.menu import MenuRect, text_rows
from harness.player import LEFT, RIGHT
from harness.session import GameSession
from harness.tray import TrayWindow

START_TRAY = ("1", "2", "3", "4", "sphere")
NG_TRAY = ("blank", "N", "G", "blank", "sphere")
APP_TITLE = "quor6"
MENU_SLOT = 5
RIGHT_DOUBLE_CLICK = 0x206

# The tray menu's text rows, top to bottom (the separator has none).
MENU_ROWS = ("問題のリセット", "履歴の表示", "Helpの表示", "Version情報", "終了", "履歴")


def score(guess: str, answer: str) -> Tuple[int, int]:
    """Strikes and balls of a guess without repeated digits."""
    strikes = sum(1 for g, a in zip(guess, answer) if g == a)
    balls = sum(1 for i, g in enumerate(guess) if g in answer and answer[i] != g)
    return strikes, balls


def tray_of_guess(guess: str) -> Tuple[str, ...]:
    return tuple(guess) + ("sphere",)


def tray_of_score(strikes: int, balls: int) -> Tuple[str, ...]:
    return (str(strikes), "S", str(balls), "B", "sphere")


def tray_of_solve(count: int) -> Tuple[str, ...]:
    return ("O", "K", str(count // 10 % 10), str(count % 10), "sphere")


def history_line(count: int, guess: str, strikes: int, balls: int) -> str:
    return f"{count}回目 {guess} {strikes}S {balls}B "


class GameCase(unittest.TestCase):
    config: Config
    trace_tray = False  # record Wine's systray trace in the session log (see tray_deletions)
    dpi = None  # the screen's DPI set in the test's prefix; None keeps the prefix's own (96)

    @classmethod
    def setUpClass(cls):
        cls.config = Config.from_environment()

    def setUp(self):
        self.session = GameSession(self.config, self.id(), trace_tray=self.trace_tray,
                                   dpi=self.dpi)
        self.addCleanup(self.session.close)
        self.session.start()
        self.addCleanup(self.session.save_evidence, self.config.artifacts / self.id())

    # --- observing ------------------------------------------------------------------------

    def start_game(self) -> "tuple[subprocess.Popen, TrayWindow]":
        """Launches the program and waits until its five icons show the start position."""
        program = self.session.launch()
        tray = self.session.find_tray()
        self.session.wait_tray(tray, START_TRAY)
        return program, tray

    def assert_tray(self, tray: TrayWindow, symbols: Sequence[str]) -> None:
        reading = self.session.read_tray(tray)
        self.assertEqual(reading.symbols, tuple(symbols), f"tray reads {reading}")

    def assert_no_extra_icons(self) -> None:
        """Nothing right of slot 5 (the standalone tray is wider than five icons)."""
        tray = self.session.tray.find()
        extra = self.session.extra_icons(tray)
        self.assertTrue(all(symbol == "blank" for symbol in extra.symbols),
                        f"icons beyond slot 5: {extra}")

    def assert_running(self, program: subprocess.Popen) -> None:
        self.assertIsNone(program.poll(), "the program ended")

    def assert_plays_on(self, program: subprocess.Popen, tray: TrayWindow, guess: str,
                        following: str) -> None:
        """The tray shows `guess` in its five icons and nothing beyond them, and the icons
        still answer: a left click on the last digit steps the guess to `following`."""
        self.session.wait_tray(tray, tray_of_guess(guess))
        self.assert_no_extra_icons()
        self.step_digit(tray, 4, LEFT, following)
        self.assert_running(program)

    def assert_quit_cleanly(self, program: subprocess.Popen) -> None:
        """The program ended after deleting its five icons itself and leaving no window.
        Needs trace_tray = True: the deletions are read from Wine's systray trace."""
        self.session.wait_exit(program)
        self.session.wait_tray_hidden()
        self.assertEqual(self.session.state().values.get("windows"), "0")
        requests, removed = self.session.tray_deletions()
        self.assertEqual(requests, 5, "the program must delete its five icons itself")
        self.assertEqual(removed, [1, 2, 3, 4, 5], "icons removed, by slot")

    def history_store(self) -> List[str]:
        state = self.session.state()
        self.assertTrue(state.ok, f"probe state failed ({state.code}): {state.errors}")
        return state.lines("store")

    def message_box(self) -> Dict[str, str]:
        """Waits for a message box and returns what the probe reads from it."""
        self.assertTrue(self.session.probe.wait("msgbox", 15), "no message box appeared")
        box = self.session.probe.run("msgbox")
        self.assertTrue(box.ok, box.errors)
        return box.values

    def dismiss_message_box(self) -> None:
        """Clicks the box's OK button, as a player would. (Enter is not reliable here: the
        box does not always get the X keyboard focus.)"""
        box = self.message_box()
        left, top, right, bottom = (int(n) for n in box["rect.1"].split(","))
        self.session.player.click_at((left + right) // 2, (top + bottom) // 2)
        self.assertTrue(self.session.probe.wait("no-msgbox", 15), "the message box stayed open")

    # --- playing --------------------------------------------------------------------------

    def judge(self, tray: TrayWindow) -> None:
        self.session.player.click(tray, MENU_SLOT, LEFT)

    def step_digit(self, tray: TrayWindow, slot: int, button: int, following: str) -> None:
        """One click on a digit icon; waits until the guess and the tray read `following`."""
        self.session.player.click(tray, slot, button)
        self.session.wait_guess(following)
        self.session.wait_tray(tray, tray_of_guess(following))

    def step_to(self, tray: TrayWindow, wanted: str) -> None:
        """Clicks the digit icons, the short way round, until the guess reads `wanted`."""
        guess = self.session.guess()
        for slot in range(1, 5):
            while guess[slot - 1] != wanted[slot - 1]:
                up = (int(wanted[slot - 1]) - int(guess[slot - 1])) % 10
                button, step = (LEFT, 1) if up <= 5 else (RIGHT, -1)
                digit = str((int(guess[slot - 1]) + step) % 10)
                following = guess[:slot - 1] + digit + guess[slot:]
                self.session.player.click(tray, slot, button)
                self.session.wait_guess(following)
                guess = following
        self.session.wait_tray(tray, tray_of_guess(wanted))

    def read_answer(self) -> str:
        """The hidden number, from the answer box that a right double-click on the sphere
        opens. The shell's double-click callback is posted: quicker than the real presses,
        which AnswerBoxTest plays."""
        posted = self.session.probe.run("post", str(MENU_SLOT), hex(RIGHT_DOUBLE_CLICK))
        self.assertTrue(posted.ok, posted.errors)
        return self.read_answer_box()

    def read_answer_box(self) -> str:
        """Reads the answer box that is up, checks it and presses its OK button."""
        box = self.message_box()
        self.assertEqual(box["title"], APP_TITLE)
        self.assertEqual(box["buttons"], "1:OK")
        self.assertEqual(box["icon"], "0")
        answer = box["text"]
        self.assertRegex(answer, r"^[1-9]{4}$")
        self.assertEqual(len(set(answer)), 4, f"the answer {answer} repeats a digit")
        self.dismiss_message_box()
        return answer

    def open_tray_menu(self, tray: TrayWindow) -> List[Tuple[int, int]]:
        """Right-clicks the sphere and returns the screen points of the menu's rows."""
        self.session.player.click(tray, MENU_SLOT, RIGHT)
        self.assertTrue(self.session.probe.wait("menu", 15), "the tray menu did not open")
        menu = self.session.probe.run("menu")
        self.assertTrue(menu.ok, menu.errors)
        rows = text_rows(self.session.tray, MenuRect.parse(menu.values["rect"]))
        self.assertEqual(len(rows), len(MENU_ROWS), f"menu text rows at {rows}")
        return rows

    def choose_from_tray_menu(self, tray: TrayWindow, caption: str) -> None:
        rows = self.open_tray_menu(tray)
        x, y = rows[MENU_ROWS.index(caption)]
        self.session.player.click_at(x, y)
        self.assertTrue(self.session.probe.wait("no-menu", 15), "the tray menu stayed open")

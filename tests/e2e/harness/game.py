"""Every end-to-end test's base: a fresh session with the game in it, and a player's moves."""

import re
import subprocess
import unittest
from pathlib import Path
from typing import List, Optional, Tuple

from .config import Config
from .player import LEFT, RIGHT
from .polling import DEFAULT_TIMEOUT, wait_until
from .probe import ProbeResult
from .session import GameSession
from .tray import TrayWindow, parse_icon_frames

START_TRAY = ("1", "2", "3", "4", "sphere")
NG_TRAY = ("blank", "N", "G", "blank", "sphere")
APP_TITLE, MAIN_TITLE = "quor6", "TaskTray上でくおろの４桁をさがせ"
MENU_SLOT, RIGHT_DOUBLE_CLICK = 5, 0x206
# The tray menu's text rows, top to bottom (the separator has none).
MENU_ROWS = ("問題のリセット", "履歴の表示", "Helpの表示", "Version情報", "終了", "履歴")
HISTORY_LIST, OK_BUTTON, QUIT_BUTTON = 2002, 3001, 3002  # the window's controls by id
TITLE_LABEL, VERSION_LABEL, CREDIT_LABEL, PICTURE = 4001, 4002, 4003, 4010
RESOURCES = (Path(__file__).resolve().parents[3] / "resources" / "quor6.rc").read_text("utf-8")
VERSION_BOX = {TITLE_LABEL: "QUOR6", VERSION_LABEL: "Version 1.06", OK_BUTTON: "OK",
               QUIT_BUTTON: "終了",
               CREDIT_LABEL: re.search(r'IDS_CREDIT_LABEL\s+"([^"]*)"', RESOURCES).group(1)}
YELLOW = (255, 255, 0)  # the question mark of the program icon
KEYS = {"Tab": 0x09, "Return": 0x0D, "Escape": 0x1B, "space": 0x20}  # "+Tab": with Shift


def score(guess: str, answer: str) -> Tuple[int, int]:
    strikes = sum(g == a for g, a in zip(guess, answer))
    return strikes, sum(g in answer for g in guess) - strikes


def tray_of_guess(guess: str) -> Tuple[str, ...]:
    return (*guess, "sphere")


def tray_of_score(strikes: int, balls: int) -> Tuple[str, ...]:
    return (str(strikes), "S", str(balls), "B", "sphere")


def rect_of(state, control: Optional[int] = None) -> Tuple[int, int, int, int]:
    values = state.values if isinstance(state, ProbeResult) else state
    return tuple(int(n) for n in values[f"rect.{control}" if control else "rect"].split(","))


def centre(rect) -> Tuple[int, int]:
    return (rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2


def shown_ids(state: ProbeResult) -> List[int]:
    return [int(part) for part in state.values.get("shown_ids", "").split(",") if part]


class GameCase(unittest.TestCase):
    trace_tray = False  # record Wine's systray trace (see assert_quit_cleanly)
    dpi: Optional[int] = None  # the screen's DPI in the test's prefix; None keeps its 96
    wine = True  # False: a session of a display only

    @classmethod
    def setUpClass(cls):
        cls.config = Config.from_environment()

    def setUp(self):
        self.session = GameSession(self.config, self.id(), self.trace_tray, self.dpi)
        self.addCleanup(self.session.close)
        self.session.start(self.wine)
        self.addCleanup(self.session.save_evidence, self.config.artifacts / self.id())
        self.player = self.session.player

    def start_game(self) -> TrayWindow:
        self.program = self.session.launch()
        self.tray = self.session.find_tray()
        self.session.wait_tray(self.tray, START_TRAY)
        return self.tray

    def assert_started(self, dpi: int) -> None:
        """Icons of the small-icon size (read unscaled), the window hidden, 1234, no history."""
        self.assertEqual(self.tray.icon_size, dpi // 6)
        values = self.session.state().values
        keys = ("windows", "title", "visible", "guess", "store.count")
        self.assertEqual([values.get(key) for key in keys], ["1", MAIN_TITLE, "0", "1234", "0"])

    def assert_quit_cleanly(self) -> None:
        """Ended, its five icons deleted by itself (read from the trace: needs trace_tray)."""
        self.program.wait(DEFAULT_TIMEOUT)
        self.session.wait_tray_hidden()
        self.assertEqual(self.session.state().values.get("windows"), "0")
        self.assertEqual(self.session.tray_deletions(), (5, [1, 2, 3, 4, 5]),
                         "the program must delete its five icons itself, slot by slot")

    def history_store(self) -> List[str]:
        return self.session.state().lines("store")

    def judge(self) -> None:
        self.player.click(self.tray, MENU_SLOT, LEFT)

    def step_to(self, wanted: str) -> None:
        guess = self.session.guess()
        for slot in range(4):
            while guess[slot] != wanted[slot]:
                up = (int(wanted[slot]) - int(guess[slot])) % 10 <= 5
                digit = str((int(guess[slot]) + (1 if up else -1)) % 10)
                self.player.click(self.tray, slot + 1, LEFT if up else RIGHT)
                guess = guess[:slot] + digit + guess[slot + 1:]
                self.session.wait_guess(guess)
        self.session.wait_tray(self.tray, tray_of_guess(wanted))

    def judge_and_check(self, guess: str, answer: str, count: int) -> str:
        strikes, balls = score(guess, answer)
        self.judge()
        self.session.wait_tray(self.tray, tray_of_score(strikes, balls))
        self.assertEqual(self.history_store()[-1], f"{count}回目 {guess} {strikes}S {balls}B ")
        return self.history_store()[-1]

    def message_box(self) -> dict:
        self.assertTrue(self.session.probe.wait("msgbox"), "no message box appeared")
        box = self.session.probe.run("msgbox")
        self.assertTrue(box)
        return box.values

    def dismiss_message_box(self) -> None:
        """Clicks OK, as a player would (the box may not have the X focus that Enter needs)."""
        self.player.click_at(*centre(rect_of(self.message_box(), 1)))
        self.assertTrue(self.session.probe.wait("no-msgbox"), "the message box stayed open")

    def read_answer(self, post: bool = True) -> str:
        """The answer box, opened (unless a real double-click did) by a posted callback."""
        self.assertTrue(not post or self.session.probe.run("post", "5", hex(RIGHT_DOUBLE_CLICK)).ok)
        box = self.message_box()
        self.assertEqual((box["title"], box["buttons"], box["icon"]), (APP_TITLE, "1:OK", "0"))
        self.assertRegex(box["text"], r"^(?!.*(.).*\1)[1-9]{4}$", "four different digits")
        self.dismiss_message_box()
        return box["text"]

    def close_tray_menu(self) -> None:
        self.type_keys("Escape")
        self.assertTrue(self.session.probe.wait("no-menu"), "Escape left the menu open")

    def choose(self, caption: str) -> None:
        for _ in range(3):  # under load Wine has been seen to close a new menu at once
            self.player.click(self.tray, MENU_SLOT, RIGHT)
            if self.session.probe.wait("menu") and (menu := self.session.probe.run("menu")).ok:
                break
        rows = self.session.tray.menu_rows(rect_of(menu))
        self.assertEqual(len(rows), len(MENU_ROWS), f"menu text rows at {rows}")
        self.player.click_at(*rows[MENU_ROWS.index(caption)])
        self.assertTrue(self.session.probe.wait("no-menu"), "the tray menu stayed open")

    def wait_window(self, shown: bool = True, list_shown: Optional[bool] = None) -> ProbeResult:
        return wait_until(self.session.state, lambda seen: seen.values.get("visible") == str(
            int(shown)) and list_shown in (None, HISTORY_LIST in shown_ids(seen)),
                          f"the window to be {'shown' if shown else 'hidden'}")

    def x_windows(self, *search: str) -> List[str]:  # once xdotool finds any
        return wait_until(lambda: subprocess.run(
            ["xdotool", "search", *search], env=self.session.env, capture_output=True,
            text=True).stdout.split(), bool, "X windows: " + " ".join(search))

    def type_keys(self, *keys: str) -> None:
        """Typed through Windows' own input, to the focus of the foreground window."""
        self.assertTrue(self.session.probe.run("keys", *(key[:key[0] == "+"] + hex(
            KEYS[key.lstrip("+")]) for key in keys)))

    def wait_focus(self, control) -> ProbeResult:
        return wait_until(self.session.state, lambda seen: seen.values.get("focus") == str(
            control), f"the focus on {control}")

    def click_control(self, control: int) -> None:
        self.player.click_at(*centre(rect_of(self.session.state(), control)))

    def move_window_aside(self) -> Tuple[int, int, int, int]:  # as a player drags it
        window = self.x_windows("--onlyvisible", "--name", f"^{MAIN_TITLE}$")[0]
        self.player.xdotool("windowmove", "--sync", window, "40", "200")
        return wait_until(lambda: rect_of(self.session.state()), lambda rect: rect[0] < 100,
                          "the window to be moved aside")

    def wait_centred(self) -> ProbeResult:
        """Centred on the 1024 x 768 screen (each half rounded its own way: 1 px leeway)."""
        return wait_until(self.session.state, lambda seen: max(
            abs(a - b) for a, b in zip(centre(rect_of(seen)), (512, 384))) <= 1, "centred")

    def wait_picture(self, state, covered: bool) -> None:
        """The program icon (its colours only) and the labels; or the history list over them."""
        colours = set(parse_icon_frames((self.config.icons / "program.txt").read_text())[32])
        dark = lambda label: sum(max(pixel) < 100 for pixel in self.session.tray.pixels(
            rect_of(state, label)))
        wait_until(lambda: (set(self.session.tray.pixels(rect_of(state, PICTURE))),
                            [dark(label) for label in (TITLE_LABEL, VERSION_LABEL, CREDIT_LABEL)]),
                   lambda seen: (YELLOW not in seen[0] and seen[1][1:] == [0, 0]) if covered
                   else (YELLOW in seen[0] <= colours and min(seen[1]) >= 10),
                   "the history list over the labels" if covered else "the icon and labels")

    def show_version_box(self, focus: int = QUIT_BUTTON):  # 終了 first, also after the list
        self.choose("Version情報")
        state = self.wait_window(list_shown=False)
        self.assertEqual({key: state.values.get(f"text.{key}") for key in VERSION_BOX},
                         VERSION_BOX)
        self.assertEqual(state.values["title"], MAIN_TITLE)
        self.wait_picture(state, covered=False)
        self.wait_focus(focus)

"""The window commands of the tray menu: the version box, the history window, the help viewer,
and the window's own buttons, chosen through the real menu as a player would."""

import dataclasses
import re
import shutil
import urllib.parse
from pathlib import Path
from typing import List, Sequence

from game_case import (START_TRAY, GameCase, history_line, score, tray_of_guess,
                       tray_of_score)
from harness.pixmaps import parse_pixel_map
from harness.player import LEFT
from harness.polling import wait_stable, wait_until
from harness.probe import ProbeResult
from window_helpers import (XWindow, centre, hide_help_viewer, import_registry, is_icon_static,
                            is_viewable, move_window, parse_rect, pixels_of, press_key,
                            read_controls, replace_help_viewer, save_window_picture, screen_size,
                            session_commands, windows_path, x_window_named)

MAIN_TITLE = "TaskTray上でくおろの４桁をさがせ"
HISTORY_LIST_ID = 2002  # rirekilist2
OK_BUTTON_ID = 3001  # Command1
QUIT_BUTTON_ID = 3002  # Command2
TITLE_LABEL_ID, VERSION_LABEL_ID, CREDIT_LABEL_ID = 4001, 4002, 4003
PICTURE_ID = 4010  # Picture1, the program icon
VERSION_BOX_IDS = (QUIT_BUTTON_ID, OK_BUTTON_ID, TITLE_LABEL_ID, VERSION_LABEL_ID,
                   CREDIT_LABEL_ID, PICTURE_ID)

HELP_CAPTION_START = "quor6 ヘルプ"
HELP_VIEWER = "Winhlp32.exe"
HELP_FAILED_TEXT = ("ヘルプを開けませんでした。ヘルプ ビューア (Winhlp32.exe) も、"
                    "quor6.html を表示するブラウザーも起動できませんでした。\n"
                    "ゲームはそのまま続けられます。")

REPO = Path(__file__).resolve().parents[3]
RESOURCE_SCRIPT = REPO / "resources" / "quor6.rc"

YELLOW = (255, 255, 0)  # the question mark of the program icon
DARK = 100  # label text is black on the light window background
MIN_TEXT_PIXELS = 10
SETTLE = 1.5  # longer than a digit step: a window that was still moving would not stay put


def credit_line() -> str:
    """The credit text the program's resources give Label3."""
    text = RESOURCE_SCRIPT.read_text(encoding="utf-8")
    return re.search(r'^\s*IDS_CREDIT_LABEL\s+"([^"]*)"', text, re.MULTILINE).group(1)


def shown_ids(state: ProbeResult) -> List[int]:
    return [int(part) for part in state.values.get("shown_ids", "").split(",") if part]


def is_dark(pixel) -> bool:
    return all(channel < DARK for channel in pixel)


class WindowCase(GameCase):
    """Opening, reading and pressing the window that the tray menu shows."""

    def wait_window(self, visible: bool) -> ProbeResult:
        wanted = "1" if visible else "0"
        return wait_until(self.session.state, lambda seen: seen.values.get("visible") == wanted,
                          "the window to be " + ("shown" if visible else "hidden"))

    def main_x_window(self) -> XWindow:
        return wait_until(lambda: x_window_named(self.session, MAIN_TITLE),
                          lambda window: window is not None and is_viewable(self.session, window),
                          "the window on the screen")

    def click_control(self, state: ProbeResult, control_id: int) -> None:
        left, top, right, bottom = parse_rect(state.values[f"rect.{control_id}"])
        self.session.player.click_at((left + right) // 2, (top + bottom) // 2, LEFT)

    def icon_colours(self):
        text = (self.config.icons / "program.txt").read_text(encoding="utf-8")
        return set(parse_pixel_map(text, "program.txt"))

    def wait_icon_drawn(self, state: ProbeResult) -> None:
        """Picture1 shows the program icon: only its colours, its yellow among them."""
        colours = self.icon_colours()
        rect = parse_rect(state.values[f"rect.{PICTURE_ID}"])
        wait_until(lambda: set(pixels_of(self.session, rect)),
                   lambda seen: YELLOW in seen and seen <= colours,
                   "the program icon in Picture1")

    def wait_icon_covered(self, state: ProbeResult) -> None:
        rect = parse_rect(state.values[f"rect.{PICTURE_ID}"])
        wait_until(lambda: set(pixels_of(self.session, rect)), lambda seen: YELLOW not in seen,
                   "the history list to cover the program icon")

    def text_pixels(self, state: ProbeResult, control_id: int) -> int:
        rect = parse_rect(state.values[f"rect.{control_id}"])
        return sum(1 for pixel in pixels_of(self.session, rect) if is_dark(pixel))

    def assert_version_box(self, state: ProbeResult) -> None:
        shown = shown_ids(state)
        self.assertNotIn(HISTORY_LIST_ID, shown, "the history list must be hidden")
        for control_id in VERSION_BOX_IDS:
            self.assertIn(control_id, shown, f"control {control_id} is not shown")
        self.assertEqual(state.values["title"], MAIN_TITLE)
        self.wait_icon_drawn(state)
        for label in (TITLE_LABEL_ID, VERSION_LABEL_ID, CREDIT_LABEL_ID):
            wait_until(lambda: self.text_pixels(state, label), lambda n: n >= MIN_TEXT_PIXELS,
                       f"the text of label {label} on the screen")

    def assert_history_window(self, state: ProbeResult, lines: Sequence[str]) -> None:
        shown = shown_ids(state)
        for control_id in (HISTORY_LIST_ID, OK_BUTTON_ID, QUIT_BUTTON_ID):
            self.assertIn(control_id, shown, f"control {control_id} is not shown")
        self.assertEqual(state.lines("history"), list(lines), "the history list, newest first")
        self.assertEqual(state.values["title"], MAIN_TITLE)
        # The list lies over the labels and the icon: the icon's yellow is gone, and the lower
        # labels, below the few lines of the list, show no text.
        self.wait_icon_covered(state)
        for label in (VERSION_LABEL_ID, CREDIT_LABEL_ID):
            wait_until(lambda: self.text_pixels(state, label), lambda n: n == 0,
                       f"the history list to cover label {label}")

    def play_two_scored_guesses(self, tray) -> List[str]:
        """Judges two guesses that are not the answer; returns the history lines, oldest first."""
        answer = self.read_answer()
        first = "1234" if answer != "1234" else "1243"
        second = first[:3] + next(d for d in "56789" if first[:3] + d != answer)
        lines = []
        for count, guess in enumerate((first, second), 1):
            self.step_to(tray, guess)
            strikes, balls = score(guess, answer)
            self.judge(tray)
            self.session.wait_tray(tray, tray_of_score(strikes, balls))
            lines.append(history_line(count, guess, strikes, balls))
            self.judge(tray)  # back to the guess
            self.session.wait_tray(tray, tray_of_guess(guess))
        self.assertEqual(self.history_store(), lines)
        return lines


class VersionBoxTest(WindowCase):
    def test_version_information_shows_title_version_credit_icon_and_two_buttons(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "Version情報")
        state = self.wait_window(visible=True)
        self.assert_version_box(state)

        controls = read_controls(self.session)
        self.assertEqual(controls[TITLE_LABEL_ID].text, "QUOR6")
        self.assertEqual(controls[VERSION_LABEL_ID].text, "Version 1.06")
        self.assertEqual(controls[CREDIT_LABEL_ID].text, credit_line())
        self.assertRegex(controls[CREDIT_LABEL_ID].text, r"\d{4}-\d{4} \S",
                         "a span of years and an author")
        self.assertEqual(controls[OK_BUTTON_ID].text, "OK")
        self.assertEqual(controls[QUIT_BUTTON_ID].text, "終了")
        self.assertTrue(is_icon_static(controls[PICTURE_ID]), controls[PICTURE_ID])
        self.assertFalse(controls[HISTORY_LIST_ID].visible)

        save_window_picture(self.session, self.main_x_window(),
                            self.config.artifacts / "version-box.png")
        self.assert_tray(tray, START_TRAY)
        self.assertEqual(self.session.guess(), "1234")
        self.assert_running(program)

    def test_tab_moves_the_focus_from_quit_to_ok_so_enter_then_hides_the_window(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "Version情報")
        self.wait_window(visible=True)
        window = self.main_x_window()
        press_key(self.session, window, "Tab")
        press_key(self.session, window, "Return")
        self.wait_window(visible=False)
        self.assert_running(program)
        self.assert_tray(tray, START_TRAY)


class VersionBoxFocusTest(WindowCase):
    trace_tray = True

    def test_enter_in_the_first_version_box_presses_quit(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "Version情報")
        self.wait_window(visible=True)
        press_key(self.session, self.main_x_window(), "Return")
        self.assert_quit_cleanly(program)


class HistoryWindowTest(WindowCase):
    def test_history_lists_newest_first_ok_hides_and_the_version_box_shows_labels_again(self):
        program, tray = self.start_game()
        lines = self.play_two_scored_guesses(tray)

        self.choose_from_tray_menu(tray, "履歴の表示")
        state = self.wait_window(visible=True)
        self.assert_history_window(state, list(reversed(lines)))
        save_window_picture(self.session, self.main_x_window(),
                            self.config.artifacts / "history-window.png")

        self.click_control(state, OK_BUTTON_ID)
        hidden = self.wait_window(visible=False)
        self.assertEqual(hidden.lines("store"), lines, "OK must leave the history alone")
        self.assert_running(program)

        self.choose_from_tray_menu(tray, "Version情報")
        state = self.wait_window(visible=True)
        self.assert_version_box(state)

    def test_history_window_with_no_guesses_shows_an_empty_list_over_the_labels(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "履歴の表示")
        state = self.wait_window(visible=True)
        self.assert_history_window(state, [])
        # The version box while the history window is shown turns it back at once.
        self.choose_from_tray_menu(tray, "Version情報")
        state = wait_until(self.session.state,
                           lambda seen: HISTORY_LIST_ID not in shown_ids(seen),
                           "the history list to be hidden")
        self.assert_version_box(state)
        self.assert_running(program)


class QuitButtonTest(WindowCase):
    trace_tray = True

    def test_quit_button_of_the_history_window_ends_the_program(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "履歴の表示")
        state = self.wait_window(visible=True)
        self.assertIn(QUIT_BUTTON_ID, shown_ids(state))
        self.click_control(state, QUIT_BUTTON_ID)
        self.assert_quit_cleanly(program)


class HelpTest(WindowCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # The program and its help file are played from a copy in a folder whose path has
        # blanks: the viewer's command line carries that path without quotes.
        cls.copy = cls.config.scratch / "help check" / "quor6 folder"
        shutil.rmtree(cls.copy.parent, ignore_errors=True)
        cls.copy.mkdir(parents=True)
        for name in ("quor6.exe", "quor6.hlp", "quor6.html"):
            shutil.copy2(cls.config.program.parent / name, cls.copy / name)
        cls.config = dataclasses.replace(cls.config, program=cls.copy / "quor6.exe")

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.copy.parent, ignore_errors=True)

    def help_window(self):
        return wait_until(lambda: x_window_named(self.session, HELP_CAPTION_START),
                          lambda window: window is not None and is_viewable(self.session, window),
                          f'a window titled "{HELP_CAPTION_START}..."')

    def test_help_opens_the_viewer_on_quor6_hlp_and_the_game_goes_on(self):
        program, tray = self.start_game()
        self.step_digit(tray, 4, LEFT, "1235")

        self.choose_from_tray_menu(tray, "Helpの表示")
        window = self.help_window()
        self.assertEqual(window.program.lower(), "winhlp32.exe")
        # "Winhlp32.exe <folder>\\quor6.hlp" with no quotes, so Wine splits it at every blank.
        help_file = windows_path(self.config.program.parent) + "\\quor6.hlp"
        self.assertIn(" ", help_file)
        viewers = [command for command in session_commands(self.session)
                   if command and command[0].lower().endswith("winhlp32.exe")]
        self.assertEqual(viewers, [[HELP_VIEWER] + help_file.split(" ")],
                         "the viewer's command line, split by Wine")

        state = self.session.state()
        self.assertEqual(state.values["visible"], "0", "help must not show the window")
        self.assertEqual(state.values["guess"], "1235")
        self.assertEqual(state.lines("store"), [])
        self.assertFalse(self.session.probe.run("msgbox").ok, "no message box")
        # The viewer opens over the tray; the player moves it aside to go on playing.
        width, height = screen_size(self.session)
        move_window(self.session, window, width - window.width, height - window.height)
        self.assert_plays_on(program, tray, "1235", "1236")

    def test_where_winhlp32_is_the_windows_10_stub_the_browser_opens_quor6_html(self):
        stand_in = self.config.probe.parent / "help_viewer_stub.exe"
        replaced = replace_help_viewer(self.session, stand_in)
        self.assertTrue(replaced, "no winhlp32.exe in the prefix to replace")
        # Wine's shell hands .html files to winebrowser, which passes them as file URLs to the
        # first program of its browser list: here a recorder of its arguments.
        received = self.session.directory / "browser.txt"
        recorder = self.session.directory / "browser.sh"
        recorder.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$@\" >> '{received}'\n")
        recorder.chmod(0o755)
        # For a winhlp32.exe of the system directory Wine would load its own viewer (to run it
        # and to read its version record) unless told to take the file that is there.
        import_registry(self.session, '[HKEY_CLASSES_ROOT\\.html]\n@="htmlfile"\n\n'
                        '[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]\n'
                        f'"Browsers"="{recorder}"\n\n'
                        '[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\n'
                        '"winhlp32.exe"="native"\n')
        program, tray = self.start_game()
        self.step_digit(tray, 4, LEFT, "1235")

        self.choose_from_tray_menu(tray, "Helpの表示")
        handed = wait_until(lambda: received.read_text() if received.exists() else "",
                            lambda text: text.endswith("\n"), "the browser to be handed a page")
        page = self.config.program.parent / "quor6.html"
        self.assertEqual(handed.splitlines(), ["file://" + urllib.parse.quote(str(page))])
        self.assertEqual([viewer for viewer in replaced
                          if viewer.with_name(viewer.name + ".ran").exists()], [],
                         "the stub was started")
        self.assertFalse(self.session.probe.run("msgbox").ok, "no message box")
        self.assertEqual(self.session.state().values["visible"], "0")
        self.assert_plays_on(program, tray, "1235", "1236")

    def test_without_viewer_and_browser_a_message_box_says_so_and_play_goes_on(self):
        renamed = hide_help_viewer(self.session)
        self.assertTrue(renamed, "no winhlp32.exe in the prefix to take away")
        import_registry(self.session, "[-HKEY_CLASSES_ROOT\\.html]\n")  # nothing opens pages
        program, tray = self.start_game()

        self.choose_from_tray_menu(tray, "Helpの表示")
        box = self.message_box()
        self.assertEqual(box["title"], "quor6")
        self.assertEqual(box["text"], HELP_FAILED_TEXT)
        self.assertEqual(box["buttons"], "1:OK")
        self.dismiss_message_box()

        self.assertIsNone(x_window_named(self.session, HELP_CAPTION_START))
        self.assertEqual(self.session.state().values["visible"], "0")
        self.step_digit(tray, 1, LEFT, "2234")
        self.assert_running(program)


class RecentreTest(WindowCase):
    def assert_centred(self, rect) -> None:
        width, height = screen_size(self.session)
        x, y = centre(rect)
        self.assertLessEqual(abs(x - width / 2), 1, f"window {rect} on a {width}x{height} screen")
        self.assertLessEqual(abs(y - height / 2), 1, f"window {rect} on a {width}x{height} screen")

    def test_a_digit_step_brings_the_moved_window_back_to_the_centre(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "Version情報")
        shown = self.wait_window(visible=True)
        centred = parse_rect(shown.values["rect"])
        self.assert_centred(centred)

        move_window(self.session, self.main_x_window(), 40, 200)
        moved = wait_until(lambda: parse_rect(self.session.state().values["rect"]),
                           lambda rect: abs(centre(rect)[0] - centre(centred)[0]) > 100,
                           "the window to be moved away from the centre")
        # It stays where the player put it until the next tray request.
        self.assertEqual(wait_stable(lambda: self.session.state().values["rect"],
                                     "the window position", SETTLE),
                         ",".join(str(n) for n in moved))

        self.session.player.click(tray, 2, LEFT)
        self.session.wait_guess("1334")
        back = wait_until(lambda: parse_rect(self.session.state().values["rect"]),
                          lambda rect: rect == centred, "the window to be centred again")
        self.assert_centred(back)
        state = self.session.state()
        self.assertEqual(state.values["visible"], "1")
        self.assertNotIn(HISTORY_LIST_ID, shown_ids(state))
        self.session.wait_tray(tray, tray_of_guess("1334"))
        self.assert_running(program)

    def test_a_minimized_window_comes_back_centred_and_the_answer_box_holds_it(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "Version情報")
        self.wait_window(visible=True)
        # Moved aside, then minimized: either view brings it back, normal, centred, in front.
        move_window(self.session, self.main_x_window(), 40, 200)
        for caption in ("履歴の表示", "Version情報"):
            self.assertTrue(self.session.probe.run("minimize").ok)
            wait_until(self.session.state, lambda seen: seen.values.get("minimized") == "1",
                       "the window to be minimized")
            self.choose_from_tray_menu(tray, caption)
            state = wait_until(self.session.state,
                               lambda seen: seen.values.get("minimized") == "0",
                               f"{caption}: the window to come back")
            self.assert_centred(parse_rect(state.values["rect"]))
            self.assertEqual((state.values["visible"], state.values["foreground"]), ("1", "1"),
                             caption)
            self.assertEqual(HISTORY_LIST_ID in shown_ids(state), caption == "履歴の表示")
        self.main_x_window()

        # The answer box holds the whole program: a click on the window's OK does nothing.
        self.assertTrue(self.session.probe.run("post", "5", "0x206").ok)
        box = parse_rect(self.message_box()["rect"])
        state = self.session.state()
        ok_x, ok_y = centre(parse_rect(state.values[f"rect.{OK_BUTTON_ID}"]))
        self.assertFalse(box[0] <= ok_x < box[2] and box[1] <= ok_y < box[3],
                         "the answer box covers the window's OK button")
        self.click_control(state, OK_BUTTON_ID)
        self.assertEqual(wait_stable(lambda: self.session.state().values["visible"],
                                     "the window's visibility", SETTLE), "1",
                         "OK was pressed behind the answer box")
        self.assertEqual(self.session.state().values["enabled"], "0")
        self.dismiss_message_box()
        self.click_control(self.session.state(), OK_BUTTON_ID)
        self.wait_window(visible=False)
        self.assert_running(program)

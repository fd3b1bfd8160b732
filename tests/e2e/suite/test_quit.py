"""The three ways to quit: all five icons go and the process ends."""

from game_case import GameCase
from harness.player import LEFT
from harness.polling import wait_until

VERSION_COMMAND = 104
QUIT_COMMAND = 105
QUIT_BUTTON_ID = 3002  # Command2, "終了"


class QuitTest(GameCase):
    trace_tray = True  # assert_quit_cleanly reads the icon deletions from the trace

    def test_menu_command_quit_removes_the_icons_and_ends(self):
        program, _ = self.start_game()
        self.assertTrue(self.session.probe.run("command", str(QUIT_COMMAND)).ok)
        self.assert_quit_cleanly(program)

    def test_quit_from_the_real_tray_menu(self):
        program, tray = self.start_game()
        self.choose_from_tray_menu(tray, "終了")
        self.assert_quit_cleanly(program)

    def test_closing_the_window_removes_the_icons_and_ends(self):
        program, _ = self.start_game()
        self.assertTrue(self.session.probe.run("close").ok)
        self.assert_quit_cleanly(program)

    def test_quit_button_of_the_shown_window(self):
        program, tray = self.start_game()
        self.assertTrue(self.session.probe.run("command", str(VERSION_COMMAND)).ok)
        state = wait_until(self.session.state, lambda seen: seen.values.get("visible") == "1",
                           "the version box to show")
        self.assertIn(str(QUIT_BUTTON_ID), state.values["shown_ids"].split(","))
        left, top, right, bottom = (int(n) for n in state.values[f"rect.{QUIT_BUTTON_ID}"].split(","))
        self.session.player.click_at((left + right) // 2, (top + bottom) // 2, LEFT)
        self.assert_quit_cleanly(program)

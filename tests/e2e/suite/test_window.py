"""The window as a player uses it, at 150 %: version box, history window, keys, minimized."""

from harness.game import (HISTORY_LIST, MENU_SLOT, OK_BUTTON, PICTURE, QUIT_BUTTON,
                          RIGHT_DOUBLE_CLICK, GameCase, centre, rect_of, shown_ids,
                          tray_of_guess)
from harness.player import LEFT, RIGHT
from harness.polling import wait_stable, wait_until

class WindowTest(GameCase):
    trace_tray = True  # the test ends by quitting: see assert_quit_cleanly
    dpi = 144  # 150 % scaling: 24 x 24 tray pictures, the window laid out for it

    def tab(self, *steps) -> None:
        for key, focus in steps:
            self.type_keys(key)
            self.wait_focus(focus)

    def settled(self) -> tuple:
        return wait_stable(lambda: tuple(self.session.state().values.get(key) for key in (
            "windows", "visible", "guess", "focus")), "the program after the keys")

    def test_keys_tab_the_views_moved_and_minimized_and_the_answer_box_over_them(self):
        tray = self.start_game()
        self.assert_started(self.dpi)
        self.player.click(tray, 4, LEFT)
        self.session.wait_guess("1235")
        # The tray menu closed with Escape, a new puzzle, the answer box closed with Enter: each
        # leaves the hidden window in front, where Windows sends the keys; they do nothing.
        for leave, guess in (("Escape", "1235"), ("問題のリセット", "1234"), ("Return", "1234")):
            if leave == "問題のリセット":
                self.choose(leave)
            else:
                kind = "menu" if leave == "Escape" else "msgbox"
                self.player.click(tray, MENU_SLOT, RIGHT) if kind == "menu" else self.assertTrue(
                    self.session.probe.run("post", "5", hex(RIGHT_DOUBLE_CLICK)))
                self.assertTrue(self.session.probe.wait(kind), kind)
                self.type_keys(leave)
                self.assertTrue(self.session.probe.wait("no-" + kind), f"{kind} stayed open")
            wait_until(self.session.state, lambda seen: seen.values["foreground"] == "1", leave)
            self.type_keys("Return", "space")
            self.assertEqual(self.settled()[:3], ("1", "0", guess), leave)
            self.session.wait_tray(tray, tray_of_guess(guess))

        # Shown: 終了 first, then OK and the picture, and round; Enter and Escape on the picture
        # do nothing. The history list covers the picture and takes its place in the round.
        self.show_version_box()
        self.wait_centred()
        self.tab(("Tab", OK_BUTTON), ("Tab", PICTURE), ("Tab", QUIT_BUTTON), ("+Tab", PICTURE),
                 ("+Tab", OK_BUTTON), ("+Tab", QUIT_BUTTON), ("+Tab", PICTURE))
        self.type_keys("Return", "Escape")
        self.assertEqual(self.settled()[1:], ("1", "1234", str(PICTURE)))
        self.choose("履歴の表示")  # over the version box, and the version box back at once
        state = self.wait_window(list_shown=True)
        self.assertEqual(state.lines("history"), [])
        self.wait_picture(state, covered=True)
        self.tab(("Tab", OK_BUTTON), ("Tab", HISTORY_LIST), ("Tab", QUIT_BUTTON),
                 ("+Tab", HISTORY_LIST))
        self.show_version_box()  # the list goes, and the focus from it to 終了

        # Moved aside and minimized, either view brings it back: normal, centred, in front.
        self.move_window_aside()
        for caption in ("履歴の表示", "Version情報"):
            self.assertTrue(self.session.probe.run("syscommand", "minimize"))
            wait_until(self.session.state, lambda seen: seen.values.get("minimized") == "1",
                       "the window to be minimized")
            self.choose(caption)
            state = self.wait_centred()  # a minimized window's place is far off the screen
            self.assertEqual([state.values["minimized"], state.values["foreground"],
                              HISTORY_LIST in shown_ids(state)],
                             ["0", "1", caption == "履歴の表示"], caption)

        # The answer box holds the whole program: a click on the window's OK does nothing.
        self.assertTrue(self.session.probe.run("post", "5", hex(RIGHT_DOUBLE_CLICK)))
        box = rect_of(self.message_box())
        ok_x, ok_y = centre(rect_of(state, OK_BUTTON))
        self.assertFalse(box[0] <= ok_x < box[2] and box[1] <= ok_y < box[3], "box over OK")
        self.click_control(OK_BUTTON)
        self.assertEqual(wait_stable(lambda: [self.session.state().values[key] for key in (
            "visible", "enabled")], "the window"), ["1", "0"], "OK pressed behind the answer box")
        self.dismiss_message_box()
        self.show_version_box()  # and Enter on its 終了 quits
        self.type_keys("Return")
        self.assert_quit_cleanly()

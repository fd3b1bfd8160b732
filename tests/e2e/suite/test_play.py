"""Real presses on the tray icons: stepping, judging, the answer box, new puzzle, re-centring."""

import itertools

from harness.game import (HISTORY_LIST, MENU_SLOT, NG_TRAY, OK_BUTTON, START_TRAY, GameCase,
                          rect_of, score, shown_ids, tray_of_guess, tray_of_score)
from harness.player import LEFT, RIGHT
from harness.polling import wait_stable, wait_until


class PlayTest(GameCase):
    trace_tray = True  # the test ends by quitting: see assert_quit_cleanly

    def test_the_answer_box_stepping_a_refused_guess_scores_a_solve_and_the_window_centred(self):
        tray = self.start_game()
        # A right double-click (in 500 ms) shows the answer; two clicks further apart do not.
        answers = []
        for gap_ms in (60, 350, 1200):
            self.player.double_click(tray, MENU_SLOT, RIGHT, gap_ms)
            if gap_ms < 500:
                answers.append(self.read_answer(post=False))
            self.assertFalse(wait_stable(lambda: self.session.probe.run("msgbox").ok,
                                         "the message boxes"), f"{gap_ms} ms")
            if self.session.probe.run("menu").ok:
                self.close_tray_menu()
            self.assertEqual((self.session.guess(), self.history_store()), ("1234", []))
        self.assertEqual(answers[0], answers[1])
        self.session.wait_tray(tray, START_TRAY)

        seen = [START_TRAY]  # every reading of the tray while the button is held
        with self.player.holding(tray, 2, LEFT):  # at once, then every 700 ms
            wait_until(lambda: seen.append(self.session.tray.read(tray).symbols) or seen[-1],
                       lambda symbols: symbols == tray_of_guess("1434"), "1434")
        self.assertEqual([symbols for symbols, _ in itertools.groupby(seen)],
                         [START_TRAY, tray_of_guess("1334"), tray_of_guess("1434")])
        self.assertEqual(wait_stable(self.session.guess, "the guess"), "1434", "stepped on")
        for guess in ("0434", "9434"):  # one step down per right click, and 0 wraps to 9
            self.player.click(tray, 1, RIGHT)
            self.session.wait_guess(guess)

        # A repeated digit is refused, not counted; a press only brings the guess back.
        for press in ((1, LEFT), (MENU_SLOT, LEFT), (MENU_SLOT, RIGHT)):
            self.judge()
            self.session.wait_tray(tray, NG_TRAY)
            self.player.click(tray, *press)
            if press[1] == RIGHT:
                self.assertTrue(self.session.probe.wait("menu"), "no menu over the verdict")
                self.close_tray_menu()
                self.session.wait_tray(tray, NG_TRAY)  # the menu left the verdict alone
                self.judge()
            self.session.wait_tray(tray, tray_of_guess("9434"))
            self.assertEqual((wait_stable(self.session.guess, "the guess"),
                              self.history_store()), ("9434", []), press)

        answer = answers[0]
        first = "1234" if answer != "1234" else "1243"
        second = first[:3] + next(d for d in "56789" if first[:3] + d != answer)
        lines = []
        for count, guess in enumerate((first, second), 1):
            self.step_to(guess)
            lines.append(self.judge_and_check(guess, answer, count))
            self.judge()  # back to the guess
            self.session.wait_tray(tray, tray_of_guess(guess))

        self.choose("履歴の表示")
        state = self.wait_window(list_shown=True)
        self.assertEqual(state.lines("history"), lines[::-1], "the history list, newest first")
        self.wait_centred()

        # Moved aside, the window stays until a tray request (verdict, new puzzle, step) centres it.
        for request, shown in ((self.judge, tray_of_score(*score(second, answer))),
                               (lambda: self.choose("問題のリセット"), START_TRAY),
                               (lambda: self.player.click(tray, 4, LEFT), tray_of_guess("1235"))):
            moved = self.move_window_aside()
            self.assertEqual(wait_stable(lambda: rect_of(self.session.state()), "the window"),
                             moved)
            request()
            self.session.wait_tray(tray, shown)
            self.assertIn(HISTORY_LIST, shown_ids(self.wait_centred()))
        self.assertEqual(self.history_store(), [], "a new puzzle empties the history")
        self.click_control(OK_BUTTON)
        self.wait_window(shown=False)

        answer = self.read_answer()
        if answer == "1235":  # a scored line in the history, for the solve to empty
            self.step_to("1236")
        self.judge_and_check(self.session.guess(), answer, 1)
        self.judge()
        self.step_to(answer)
        self.judge()
        self.session.wait_tray(tray, ("O", "K", "0", "2", "sphere"))
        self.choose("履歴の表示")
        self.assertEqual(self.wait_window(list_shown=True).lines("history"), [], "solve: empty")
        self.show_version_box(OK_BUTTON)  # at 96 DPI; the focus where the click on OK left it
        self.assertTrue(self.session.probe.run("syscommand", "close"))  # the close box quits
        self.assert_quit_cleanly()

"""Playing with real presses on the real tray icons."""

from game_case import (MENU_SLOT, NG_TRAY, START_TRAY, GameCase, history_line, score,
                       tray_of_guess, tray_of_score, tray_of_solve)
from harness.player import LEFT, RIGHT
from harness.polling import wait_stable, wait_until

# Longer than one 700 ms step: a digit that still stepped could not stay put this long.
SETTLE = 1.5


class DigitStepTest(GameCase):
    def test_holding_left_on_slot_2_steps_1334_then_1434(self):
        _, tray = self.start_game()
        seen = []

        def reading():
            symbols = self.session.read_tray(tray).symbols
            if not seen or seen[-1] != symbols:
                seen.append(symbols)
            return symbols

        with self.session.player.holding(tray, 2, LEFT):
            wait_until(reading, lambda symbols: symbols == tray_of_guess("1434"),
                       "slot 2 to step to 4 while held")
        self.assertEqual([s for s in seen if s != START_TRAY],
                         [tray_of_guess("1334"), tray_of_guess("1434")],
                         "the tray did not step 1334 then 1434")
        final = wait_stable(lambda: self.session.read_tray(tray).symbols, "the tray", SETTLE)
        self.assertEqual(final, tray_of_guess("1434"), "the digit went on stepping after the release")
        self.assertEqual(self.session.guess(), "1434")

    def test_right_click_on_slot_4_of_1230_gives_1239(self):
        _, tray = self.start_game()
        self.step_to(tray, "1230")
        self.session.player.click(tray, 4, RIGHT)
        self.session.wait_guess("1239")
        self.session.wait_tray(tray, tray_of_guess("1239"))
        final = wait_stable(self.session.guess, "the guess", SETTLE)
        self.assertEqual(final, "1239", "one click must give exactly one step")


class JudgeTest(GameCase):
    def test_a_repeated_digit_shows_blank_n_g_blank_and_counts_nothing(self):
        _, tray = self.start_game()
        self.step_to(tray, "1334")
        self.judge(tray)
        self.session.wait_tray(tray, NG_TRAY)
        self.assertEqual(self.history_store(), [], "a rejected guess must not be recorded")
        # A press on a digit icon only brings the guess back; it does not step.
        self.session.player.click(tray, 1, LEFT)
        self.session.wait_tray(tray, tray_of_guess("1334"))
        self.assertEqual(wait_stable(self.session.guess, "the guess", SETTLE), "1334")
        # So does the next press on the sphere after a verdict.
        self.judge(tray)
        self.session.wait_tray(tray, NG_TRAY)
        self.judge(tray)
        self.session.wait_tray(tray, tray_of_guess("1334"))
        self.assertEqual(self.history_store(), [])

    def test_a_scored_guess_then_the_answer_then_a_reset(self):
        _, tray = self.start_game()
        answer = self.read_answer()
        # One digit in place, two swapped and one not in the answer: always 1 S 2 B.
        outsider = next(d for d in "123456789" if d not in answer)
        guess = answer[0] + answer[2] + answer[1] + outsider
        strikes, balls = score(guess, answer)
        self.assertEqual((strikes, balls), (1, 2))
        self.step_to(tray, guess)

        self.judge(tray)
        self.session.wait_tray(tray, tray_of_score(1, 2))
        self.session.tray.save_picture(tray, self.config.artifacts / "tray-verdict.png")
        self.assertEqual(self.history_store(), [history_line(1, guess, strikes, balls)])
        self.judge(tray)
        self.session.wait_tray(tray, tray_of_guess(guess))

        self.step_to(tray, answer)
        self.judge(tray)
        self.session.wait_tray(tray, tray_of_solve(2))
        self.assertEqual(self.history_store(), [], "a solve empties the history")

        # One more scored guess against the new answer, so that the reset has history to empty.
        self.judge(tray)
        self.session.wait_tray(tray, tray_of_guess(answer))
        new_answer = self.read_answer()
        if new_answer == answer:
            self.step_to(tray, answer[:3] + next(d for d in "123456789" if d not in answer))
        guess = self.session.guess()
        strikes, balls = score(guess, new_answer)
        self.judge(tray)
        self.session.wait_tray(tray, tray_of_score(strikes, balls))
        self.assertEqual(self.history_store(), [history_line(1, guess, strikes, balls)])

        self.choose_from_tray_menu(tray, "問題のリセット")
        self.session.wait_tray(tray, START_TRAY)
        self.assertEqual(self.session.guess(), "1234")
        self.assertEqual(self.history_store(), [], "the reset empties the history")


class AnswerBoxTest(GameCase):
    # Within the double-click time (Wine's 500 ms), quick and slow; and well beyond it.
    QUICK_MS, SLOW_MS, APART_MS = 60, 350, 1200

    def test_a_real_right_double_click_shows_the_answer_and_a_slow_pair_does_not(self):
        _, tray = self.start_game()
        answers = []
        for gap in (self.QUICK_MS, self.SLOW_MS):
            self.session.player.double_click(tray, MENU_SLOT, RIGHT, gap)
            answers.append(self.read_answer_box())
            self.assertTrue(self.session.probe.wait("no-menu", 15),
                            f"{gap} ms: the menu stayed open")
            self.assertEqual(self.session.guess(), "1234", f"{gap} ms")
            self.assertEqual(self.history_store(), [], f"{gap} ms")
            self.assert_tray(tray, START_TRAY)
        self.assertEqual(answers[0], answers[1])

        # Two clicks too far apart: the first opens the menu, the second is a click on it.
        self.session.player.double_click(tray, MENU_SLOT, RIGHT, self.APART_MS)
        self.assertEqual(wait_stable(lambda: self.session.probe.run("msgbox").ok,
                                     "the message boxes", SETTLE), False,
                         "two clicks beyond the double-click time showed the answer")
        if self.session.probe.run("menu").ok:
            self.assertTrue(self.session.probe.run("menu-key", "0x1B").ok)
            self.assertTrue(self.session.probe.wait("no-menu", 15), "Escape left the menu open")

        # The guess was never counted: judging it now gives the first history line.
        self.judge(tray)
        if answers[0] == "1234":
            self.session.wait_tray(tray, tray_of_solve(1))
        else:
            strikes, balls = score("1234", answers[0])
            self.session.wait_tray(tray, tray_of_score(strikes, balls))
            self.assertEqual(self.history_store(), [history_line(1, "1234", strikes, balls)])

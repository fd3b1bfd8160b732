"""Long play must not leak: the icons, menus and windows the program uses are made once, so
its GDI and USER object counts stay flat however many verdicts it shows."""

from game_case import MENU_SLOT, GameCase, tray_of_guess
from harness.player import LEFT

VERDICTS = 1000
ESCAPE = 0x1B


class GuiObjectTest(GameCase):
    def gui_objects(self) -> "tuple[int, int]":
        counts = self.session.probe.run("gui-resources", timeout=120)
        self.assertTrue(counts.ok, f"gui-resources failed ({counts.code}): {counts.errors}")
        return int(counts.values["gdi"]), int(counts.values["user"])

    def show_verdicts(self, count: int, stored_before: int) -> None:
        """Judges the guess and brings it back `count` times, and waits until all are done."""
        posted = self.session.probe.run("verdicts", str(count))
        self.assertTrue(posted.ok, f"verdicts: {posted.values} {posted.errors}")
        stored = stored_before + count
        self.assertTrue(self.session.probe.wait(f"store={stored}", 600),
                        f"the history store did not reach {stored} lines")

    def open_and_dismiss_menu(self, tray) -> None:
        self.open_tray_menu(tray)
        self.assertTrue(self.session.probe.run("menu-key", hex(ESCAPE)).ok)
        self.assertTrue(self.session.probe.wait("no-menu", 15), "the tray menu stayed open")

    def test_a_thousand_verdicts_and_restores_leave_the_object_counts_flat(self):
        program, tray = self.start_game()
        answer = self.read_answer()
        if answer == "1234":  # judging the answer would solve and clear the store
            self.session.player.click(tray, 4, LEFT)
            self.session.wait_guess("1235")
        guess = self.session.guess()

        # Everything done once first, so that what Wine makes on first use is in the baseline.
        self.show_verdicts(1, 0)
        self.session.wait_tray(tray, tray_of_guess(guess))
        self.open_and_dismiss_menu(tray)
        gdi_before, user_before = self.gui_objects()

        self.show_verdicts(VERDICTS, 1)
        # The last restore may still be queued behind the last judge; let it land first, or the
        # menu's own loop would be handed it.
        self.session.wait_tray(tray, tray_of_guess(guess))
        for _ in range(3):
            self.open_and_dismiss_menu(tray)
        gdi_after, user_after = self.gui_objects()
        (self.config.artifacts / "gui-objects.txt").write_text(
            f"after 1 verdict: gdi={gdi_before} user={user_before}\n"
            f"after {VERDICTS + 1} verdicts: gdi={gdi_after} user={user_after}\n", encoding="utf-8")

        self.assertLessEqual(gdi_after, gdi_before, "GDI objects grew")
        self.assertLessEqual(user_after, user_before, "USER objects grew")
        # The counts are real: the program holds at least its 19 icons and its window.
        self.assertGreater(user_before, 19)
        self.assertGreater(gdi_before, 0)

        # And the game is still in order: every verdict stored, the guess back in the tray.
        state = self.session.state()
        self.assertTrue(state.ok, state.errors)
        self.assertEqual(state.values["guess"], guess)
        self.assertEqual(len(state.lines("store")), VERDICTS + 1)
        self.session.wait_tray(tray, tray_of_guess(guess))
        self.session.player.click(tray, MENU_SLOT, LEFT)
        self.assert_running(program)

"""A second launch while the game runs: refused with a message box, the first copy untouched."""

from game_case import APP_TITLE, GameCase, tray_of_guess
from harness.player import LEFT


class SingleInstanceTest(GameCase):
    def test_second_launch_is_refused_and_the_first_copy_keeps_its_state(self):
        first, tray = self.start_game()
        # Give the first copy a state of its own: a stepped guess and a known answer.
        self.session.player.click(tray, 4, LEFT)
        self.session.wait_guess("1235")
        self.session.wait_tray(tray, tray_of_guess("1235"))
        answer = self.read_answer()
        before = self.session.state()

        second = self.session.launch()
        box = self.message_box()
        self.assertEqual(box["text"], "既に起動されています")
        self.assertEqual(box["title"], APP_TITLE)
        self.assertEqual(box["buttons"], "1:OK", "an OK button only")
        self.assertEqual(box["icon"], "0", "no icon in the box")
        self.assertNotEqual(box["pid"], before.values["pid"], "the box belongs to the second copy")
        self.assert_tray(tray, tray_of_guess("1235"))
        self.assert_no_extra_icons()

        self.dismiss_message_box()
        self.session.wait_exit(second)
        self.assert_running(first)
        after = self.session.state()
        for key in ("windows", "pid", "guess", "visible", "store.count"):
            self.assertEqual(after.values.get(key), before.values.get(key), key)
        self.assert_tray(tray, tray_of_guess("1235"))
        self.assertEqual(self.read_answer(), answer, "the first copy's answer changed")

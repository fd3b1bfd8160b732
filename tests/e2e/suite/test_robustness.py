"""What a player does not do but the shell or other programs may: restart the tray, or send
stray callback messages."""

from game_case import START_TRAY, GameCase, tray_of_guess
from harness.player import LEFT

FLOOD_SIZE = 5000  # two seeds: 10,000 callbacks in all
FLOOD_SEEDS = (1, 2)


class TrayRestartTest(GameCase):
    def test_taskbar_created_brings_back_lost_icons_with_the_current_guess(self):
        program, tray = self.start_game()
        self.session.player.click(tray, 4, LEFT)
        self.session.wait_guess("1235")
        self.session.wait_tray(tray, tray_of_guess("1235"))

        # A restarted shell has lost every icon and then tells all windows so.
        deleted = self.session.probe.run("delete-icons")
        self.assertTrue(deleted.ok, f"the probe could not delete the icons: {deleted.values}")
        self.session.wait_tray_hidden()
        self.assertTrue(self.session.probe.run("broadcast-taskbar-created").ok)
        tray = self.session.find_tray()
        self.session.wait_tray(tray, tray_of_guess("1235"))
        self.assert_no_extra_icons()

        # The re-added icons answer as before.
        self.session.player.click(tray, 4, LEFT)
        self.session.wait_guess("1236")
        self.session.wait_tray(tray, tray_of_guess("1236"))
        self.assert_running(program)

    def test_taskbar_created_while_the_icons_exist_adds_no_second_set(self):
        program, tray = self.start_game()
        self.assertTrue(self.session.probe.run("broadcast-taskbar-created").ok)
        # The broadcast is handled once the probe's state request, sent after it, is answered.
        self.assertEqual(self.session.guess(), "1234")
        self.session.wait_tray(tray, START_TRAY)
        self.assert_no_extra_icons()
        self.assert_running(program)


class StrayMessageTest(GameCase):
    def test_a_flood_of_stray_callbacks_changes_nothing(self):
        program, tray = self.start_game()
        for seed in FLOOD_SEEDS:
            flood = self.session.probe.run("flood", str(FLOOD_SIZE), str(seed))
            self.assertTrue(flood.ok, f"seed {seed}: {flood.values} {flood.errors}")
        state = self.session.state()
        self.assertTrue(state.ok, "the program no longer answers after the flood")
        self.assertEqual(state.values["guess"], "1234")
        self.assertEqual(state.lines("store"), [])
        self.assertEqual(state.values["visible"], "0")
        self.assertFalse(self.session.probe.run("menu").ok, "the flood opened the menu")
        self.assertFalse(self.session.probe.run("msgbox").ok, "the flood opened a message box")
        self.assert_tray(tray, START_TRAY)
        # And it still plays.
        self.session.player.click(tray, 1, LEFT)
        self.session.wait_guess("2234")
        self.session.wait_tray(tray, tray_of_guess("2234"))
        self.assert_running(program)

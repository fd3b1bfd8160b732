"""Right after start: the tray, the hidden window, the guess and the history."""

from game_case import START_TRAY, GameCase

MAIN_TITLE = "TaskTray上でくおろの４桁をさがせ"


class StartupTest(GameCase):
    dpi = 96

    def test_tray_shows_1234_and_the_sphere_with_the_window_hidden(self):
        program, tray = self.start_game()
        self.session.tray.save_picture(tray, self.config.artifacts / f"tray-{self.dpi}dpi.png")
        # The tray's pictures are the small-icon size, and the reader takes a cell only when it
        # matches that size's frame pixel for pixel: nothing was scaled.
        self.assertEqual(tray.icon_size, self.dpi // 6)
        self.assert_tray(tray, START_TRAY)
        self.assert_no_extra_icons()
        state = self.session.state()
        self.assertTrue(state.ok, state.errors)
        self.assertEqual(state.values["windows"], "1")
        self.assertEqual(state.values["title"], MAIN_TITLE)
        self.assertEqual(state.values["visible"], "0", "the window must stay hidden during play")
        self.assertEqual(state.values["guess"], "1234")
        self.assertEqual(state.lines("store"), [], "the history store starts empty")
        self.assert_running(program)


class StartupAt144DpiTest(StartupTest):
    """150 % scaling: 24 x 24 tray pictures."""
    dpi = 144

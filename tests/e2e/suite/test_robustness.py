"""What the shell or others may do: stray callbacks, a tray restarted, a second launch."""

import random

from harness.game import APP_TITLE, START_TRAY, GameCase, tray_of_guess
from harness.player import LEFT


def stray_callbacks(count: int, seed: int) -> str:
    """"slot message wparam" lines the shell never sends: presses, the right double-click, any
    other message, each with high bits above it or a wParam not the slot's id, or both."""
    rng, lines = random.Random(seed), []
    for _ in range(count):
        slot, disguise = rng.randint(1, 5), rng.randint(1, 3)  # 1: wParam, 2: lParam, 3: both
        message = rng.choice([0x201, 0x204, 0x206, rng.randint(0x1FE, 0x20D), rng.getrandbits(16)])
        high = rng.randint(1, 0xFFFF) << 16 if disguise > 1 else 0
        wparam = rng.choice([0, rng.getrandbits(32) | 8, slot % 5 + 1]) if disguise != 2 else slot
        lines.append(f"{slot} {high | message} {wparam}")
    return "\n".join(lines) + "\n"


class RobustnessTest(GameCase):
    def test_a_flood_a_restarted_tray_and_a_second_launch_change_nothing(self):
        tray = self.start_game()
        self.assert_started(96)
        for seed in (1, 2):
            flood = self.session.probe.run("post", "-", input=stray_callbacks(5000, seed))
            self.assertEqual((flood.code, flood.values.get("posted")), (0, "5000"), flood.errors)
        state = self.session.state()
        self.assertEqual((state.values["guess"], state.values["visible"], state.lines("store")),
                         ("1234", "0", []), "the program must answer as before the flood")
        self.assertFalse([kind for kind in ("menu", "msgbox") if self.session.probe.run(kind).ok],
                         "the flood opened a menu or a message box")
        self.session.wait_tray(tray, START_TRAY)
        self.player.click(tray, 4, LEFT)
        self.session.wait_tray(tray, tray_of_guess("1235"))

        # A new tray while the icons are there adds no second set; a restarted shell, which
        # lost every icon, gets them back with the current guess, and they answer as before.
        for lost in (False, True):
            if lost:
                self.assertTrue(self.session.probe.run("delete-icons"))
                self.session.wait_tray_hidden()
            self.assertTrue(self.session.probe.run("broadcast-taskbar-created"))
            # Handled once the state request, queued behind it, is answered.
            self.assertEqual(self.session.guess(), "1235")
            tray = self.tray = self.session.find_tray()
            self.session.wait_tray(tray, tray_of_guess("1235"))
        self.player.click(tray, 4, LEFT)
        self.session.wait_tray(tray, tray_of_guess("1236"))

        answer, before = self.read_answer(), self.session.state()
        second = self.session.launch()
        box = self.message_box()
        self.assertEqual((box["text"], box["title"], box["buttons"], box["icon"]),
                         ("既に起動されています", APP_TITLE, "1:OK", "0"))
        self.assertNotEqual(box["pid"], before.values["pid"], "the box of the second copy")
        self.session.wait_tray(tray, tray_of_guess("1236"))
        self.dismiss_message_box()
        second.wait(15)
        self.assert_running()
        keys, after = ("windows", "pid", "guess", "visible", "store.count"), self.session.state()
        self.assertEqual([after.values[k] for k in keys], [before.values[k] for k in keys])
        self.assertEqual(self.read_answer(), answer, "the first copy's answer changed")

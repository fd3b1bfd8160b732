"""A player's hand: real X pointer and key presses, through xdotool."""

import subprocess
import time
from contextlib import contextmanager

from .tray import TrayWindow

LEFT, RIGHT = 1, 3
# Two presses on one spot closer together than the double-click time (500 ms) reach the
# program as a double-click; a player's separate clicks are further apart than that.
PRESS_SPACING = 0.6
CLICK_LENGTH = 0.1  # how long a quick click keeps the button down


class Player:
    def __init__(self, env: dict):
        self._env, self._last_press = env, 0.0

    def xdotool(self, *args: str) -> None:
        subprocess.run(["xdotool", *args], env=self._env, check=True, timeout=30,
                       capture_output=True)

    def move_to(self, x: int, y: int) -> None:
        self.xdotool("mousemove", str(x), str(y))

    def _press(self, x: int, y: int, *actions: str) -> None:
        time.sleep(max(0.0, self._last_press + PRESS_SPACING - time.monotonic()))
        self.xdotool("mousemove", str(x), str(y), *actions)
        self._last_press = time.monotonic()

    @contextmanager
    def holding(self, tray: TrayWindow, slot: int, button: int):
        self._press(*tray.slot_centre(slot), "mousedown", str(button))
        try:
            yield
        finally:
            self.xdotool("mouseup", str(button))

    def click_at(self, x: int, y: int, button: int = LEFT) -> None:
        self._press(x, y, "mousedown", str(button))
        time.sleep(CLICK_LENGTH)
        self.xdotool("mouseup", str(button))

    def click(self, tray: TrayWindow, slot: int, button: int) -> None:
        self.click_at(*tray.slot_centre(slot), button)

    def double_click(self, tray: TrayWindow, slot: int, button: int, gap_ms: int) -> None:
        """Two quick clicks on the slot's icon, `gap_ms` apart, timed by xdotool itself."""
        self._press(*tray.slot_centre(slot), "click", "--repeat", "2", "--delay", str(gap_ms),
                    str(button))

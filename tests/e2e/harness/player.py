"""A player's hand: real X pointer presses and key presses, through xdotool."""

import subprocess
import time
from contextlib import contextmanager
from typing import Iterator

from .tray import TrayWindow

LEFT, RIGHT = 1, 3

# Two presses on one spot closer together than the double-click time (500 ms) reach the
# program as a double-click; a player's separate clicks are further apart than that.
PRESS_SPACING = 0.6
CLICK_LENGTH = 0.1  # how long a quick click keeps the button down


class Player:
    def __init__(self, env: dict):
        self._env = env
        self._last_press = 0.0

    def xdotool(self, *args: str) -> None:
        subprocess.run(["xdotool", *args], env=self._env, check=True, timeout=30,
                       capture_output=True)

    def move_to(self, x: int, y: int) -> None:
        self.xdotool("mousemove", str(x), str(y))

    def point_at(self, tray: TrayWindow, slot: int) -> None:  # the bench's
        self.move_to(*tray.slot_centre(slot))

    @contextmanager
    def holding_at(self, x: int, y: int, button: int) -> Iterator[None]:
        """Keeps the button down at the point for the body of the with-block."""
        time.sleep(max(0.0, self._last_press + PRESS_SPACING - time.monotonic()))
        self.xdotool("mousemove", str(x), str(y), "mousedown", str(button))
        self._last_press = time.monotonic()
        try:
            yield
        finally:
            self.xdotool("mouseup", str(button))

    def holding(self, tray: TrayWindow, slot: int, button: int):
        return self.holding_at(*tray.slot_centre(slot), button)

    def click_at(self, x: int, y: int, button: int = LEFT) -> None:
        with self.holding_at(x, y, button):
            time.sleep(CLICK_LENGTH)

    def click(self, tray: TrayWindow, slot: int, button: int) -> None:
        self.click_at(*tray.slot_centre(slot), button)

    def double_click(self, tray: TrayWindow, slot: int, button: int, gap_ms: int) -> None:
        """Two quick clicks on the slot's icon, `gap_ms` apart, timed by xdotool itself."""
        time.sleep(max(0.0, self._last_press + PRESS_SPACING - time.monotonic()))
        x, y = tray.slot_centre(slot)
        self.xdotool("mousemove", str(x), str(y), "click", "--repeat", "2", "--delay",
                     str(gap_ms), str(button))
        self._last_press = time.monotonic()

    def press_key(self, window_id: int, key: str) -> None:
        """Gives the X window the keyboard focus, then types the key into it."""
        self.xdotool("windowfocus", "--sync", str(window_id))
        self.xdotool("key", key)

"""A player's hand: real X pointer presses on the tray icons, through xdotool."""

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

    def _xdotool(self, *args: str) -> None:
        subprocess.run(["xdotool", *args], env=self._env, check=True, timeout=30,
                       capture_output=True)

    def _space_from_last_press(self) -> None:
        wait = self._last_press + PRESS_SPACING - time.monotonic()
        if wait > 0:
            time.sleep(wait)

    def point_at(self, tray: TrayWindow, slot: int) -> None:
        x, y = tray.slot_centre(slot)
        self._xdotool("mousemove", str(x), str(y))

    def move_to(self, x: int, y: int) -> None:
        self._xdotool("mousemove", str(x), str(y))

    @contextmanager
    def holding(self, tray: TrayWindow, slot: int, button: int) -> Iterator[None]:
        """Keeps the button down on the slot's icon for the body of the with-block."""
        self._space_from_last_press()
        x, y = tray.slot_centre(slot)
        self._xdotool("mousemove", str(x), str(y), "mousedown", str(button))
        self._last_press = time.monotonic()
        try:
            yield
        finally:
            self._xdotool("mouseup", str(button))

    def click(self, tray: TrayWindow, slot: int, button: int) -> None:
        with self.holding(tray, slot, button):
            time.sleep(CLICK_LENGTH)

    def double_click(self, tray: TrayWindow, slot: int, button: int, gap_ms: int) -> None:
        """Two quick clicks on the slot's icon, `gap_ms` apart, timed by xdotool itself."""
        self._space_from_last_press()
        x, y = tray.slot_centre(slot)
        self._xdotool("mousemove", str(x), str(y), "click", "--repeat", "2", "--delay",
                      str(gap_ms), str(button))
        self._last_press = time.monotonic()

    def click_at(self, x: int, y: int, button: int = LEFT) -> None:
        self._space_from_last_press()
        self._xdotool("mousemove", str(x), str(y), "mousedown", str(button))
        self._last_press = time.monotonic()
        time.sleep(CLICK_LENGTH)
        self._xdotool("mouseup", str(button))

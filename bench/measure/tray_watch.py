"""Counts the icons in Wine's standalone tray window from its pixels, fast enough to time a
start-up: square cells as high as the window, left to right, each a picture on the tray's
background. While the tray is hidden its rectangle shows the bare root window."""

import time

from harness.polling import wait_until
from harness.tray import TrayWindow

from .x11_snapshot import ScreenReader


class TrayWatch:
    def __init__(self, reader: ScreenReader, window: TrayWindow, background: bytes):
        self._reader = reader
        self.window = window
        self._background = background  # one RGB pixel, as the shown tray's corner has it

    def icons_shown(self) -> int:
        """How many cells from the left hold a picture; 0 while the tray is hidden."""
        window, size = self.window, self.window.icon_size
        pixels = self._reader.grab(window.x, window.y, window.width, window.height)

        def pixel(x: int, y: int) -> bytes:
            at = 3 * (y * window.width + x)
            return pixels[at:at + 3]

        margin = (window.cell - size) // 2
        count = 0
        for left in range(0, window.width - window.cell + 1, window.cell):
            if pixel(left, 0) != self._background:
                break  # not the tray's background: the tray is not shown
            inside = (pixel(left + margin + dx, margin + dy)
                      for dy in range(size) for dx in range(size))
            if all(colour == self._background for colour in inside):
                break
            count += 1
        return count

    def wait_for(self, accept, what: str, timeout: float, interval: float) -> float:
        """Polls until accept(icons_shown()) holds; returns the monotonic time of that reading."""
        _, seen_at = wait_until(lambda: (self.icons_shown(), time.monotonic()),
                                lambda seen: accept(seen[0]), what, timeout, interval)
        return seen_at

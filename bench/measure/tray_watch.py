"""Counts the icons in Wine's standalone tray window from its pixels, fast enough to time a
start-up: square cells as high as the window, left to right, each a 16 x 16 picture on the
tray's background. While the tray is hidden its rectangle shows the bare root window."""

import subprocess
import time
from dataclasses import dataclass
from typing import Optional

from .x11_snapshot import ScreenReader

ICON_SIZE = 16
TRAY_TITLE = "Wine System Tray"


@dataclass(frozen=True)
class TrayArea:
    x: int
    y: int
    width: int
    height: int

    @property
    def cell(self) -> int:
        return self.height

    def cell_centre(self, slot: int) -> "tuple[int, int]":
        return self.x + (slot - 1) * self.cell + self.cell // 2, self.y + self.cell // 2


class TrayWatch:
    def __init__(self, reader: ScreenReader, area: TrayArea, background: bytes):
        self._reader = reader
        self.area = area
        self._background = background  # one RGB pixel, as the shown tray's corner has it

    def icons_shown(self) -> int:
        """How many cells from the left hold a picture; 0 while the tray is hidden."""
        area = self.area
        pixels = self._reader.grab(area.x, area.y, area.width, area.height)

        def pixel(x: int, y: int) -> bytes:
            at = 3 * (y * area.width + x)
            return pixels[at:at + 3]

        margin = (area.cell - ICON_SIZE) // 2
        count = 0
        for left in range(0, area.width - area.cell + 1, area.cell):
            if pixel(left, 0) != self._background:
                break  # not the tray's background: the tray is not shown
            inside = (pixel(left + margin + dx, margin + dy)
                      for dy in range(ICON_SIZE) for dx in range(ICON_SIZE))
            if all(colour == self._background for colour in inside):
                break
            count += 1
        return count

    def wait_for(self, accept, what: str, timeout: float, interval: float) -> float:
        """Polls until accept(icons_shown()) holds; returns the monotonic time of that reading."""
        deadline = time.monotonic() + timeout
        while True:
            shown = self.icons_shown()
            seen_at = time.monotonic()
            if accept(shown):
                return seen_at
            if seen_at > deadline:
                raise TimeoutError(f"timed out after {timeout:.0f} s waiting for {what}; "
                                   f"{shown} icons shown")
            time.sleep(interval)


def find_tray_window(world) -> Optional[TrayArea]:
    """Where the tray window is while it is shown; None while Wine has not shown it."""
    try:
        ids = world.run("xdotool", "search", "--name", f"^{TRAY_TITLE}$").stdout.split()
    except subprocess.CalledProcessError:
        return None  # xdotool exits 1 when nothing matches
    for window_id in ids:
        info = world.run("xwininfo", "-id", window_id.decode()).stdout.decode()
        fields = {}
        for line in info.splitlines():
            key, sep, value = line.strip().partition(":")
            if sep:
                fields[key] = value.strip()
        if fields.get("Map State") == "IsViewable":
            return TrayArea(int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                            int(fields["Width"]), int(fields["Height"]))
    return None

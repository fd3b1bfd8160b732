"""Which icon each of the five tray cells shows, by exact comparison with the tray pictures of
the program's own icon maps (tests/e2e/harness/pixmaps.py)."""

import time
from pathlib import Path
from typing import Optional, Tuple

from harness.pixmaps import TRAY_SIZE, load_tray_references

from measure.tray_watch import TrayArea
from measure.x11_snapshot import ScreenReader

SLOTS = 5


class TrayReading:
    def __init__(self, screen: ScreenReader, area: TrayArea, icons: Path):
        self._screen = screen
        self.area = area
        self._references = load_tray_references(icons)

    def grab(self) -> bytes:
        """The five cells as RGB bytes, SLOTS cells wide and one cell high."""
        area = self.area
        return self._screen.grab(area.x, area.y, SLOTS * area.cell, area.cell)

    def symbols(self, pixels: bytes) -> Tuple[Optional[str], ...]:
        width, margin = SLOTS * self.area.cell, (self.area.cell - TRAY_SIZE) // 2
        found = []
        for slot in range(SLOTS):
            left = slot * self.area.cell + margin
            cell = []
            for y in range(margin, margin + TRAY_SIZE):
                row = 3 * (y * width + left)
                cell.extend(tuple(pixels[at:at + 3]) for at in range(row, row + 3 * TRAY_SIZE, 3))
            picture = tuple(cell)
            found.append(next((symbol for symbol, reference in self._references.items()
                               if reference == picture), None))
        return tuple(found)

    def wait_for(self, wanted: Tuple[str, ...], timeout: float = 15.0) -> bytes:
        """Polls until the cells read `wanted`; returns those pixels."""
        deadline = time.monotonic() + timeout
        while True:
            pixels = self.grab()
            seen = self.symbols(pixels)
            if seen == wanted:
                return pixels
            if time.monotonic() > deadline:
                raise TimeoutError(f"the tray never showed {' '.join(wanted)}; it shows {seen}")
            time.sleep(0.02)

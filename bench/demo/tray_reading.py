"""The five tray cells for the film: grabbed over one X connection, quick enough to catch each
step, and read by the e2e harness's tray reader against the icons' own frames."""

from dataclasses import dataclass
from typing import Sequence

from harness.polling import DEFAULT_TIMEOUT, wait_until
from harness.tray import SLOTS, TrayReader, TrayReading, TrayWindow

from measure.x11_snapshot import ScreenReader


@dataclass(frozen=True)
class Shot:
    pixels: bytes  # RGB, SLOTS cells wide and one cell high
    reading: TrayReading

    def __repr__(self) -> str:
        return str(self.reading)


class TrayCells:
    def __init__(self, reader: TrayReader, screen: ScreenReader, window: TrayWindow):
        self._reader = reader
        self._screen = screen
        self.window = window

    def grab(self) -> bytes:
        window = self.window
        return self._screen.grab(window.x, window.y, SLOTS * window.cell, window.cell)

    def shoot(self) -> Shot:
        pixels = self.grab()
        return Shot(pixels, self._reader.read_picture(self.window, SLOTS * self.window.cell,
                                                      self.window.cell, pixels))

    def wait_for(self, wanted: Sequence[str], timeout: float = DEFAULT_TIMEOUT) -> bytes:
        """Polls until the cells read `wanted`; returns those pixels."""
        return wait_until(self.shoot, lambda shot: shot.reading.symbols == tuple(wanted),
                          "the tray to show " + " ".join(wanted), timeout, 0.02).pixels

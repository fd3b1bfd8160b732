"""Frames of the tray for the demo's animated GIF and stills, scaled up without smoothing.

Each frame is the five cells plus a strip below them in which a bar marks the icon being
pressed: red for the left button (a digit steps up, or the sphere judges), blue for the right
(a digit steps down)."""

import subprocess
import tempfile
from dataclasses import dataclass
from pathlib import Path
from typing import List, Optional

from harness.tray import CONVERT

SCALE = 3
STRIP = 4  # rows under the cells for the press marker
BACKGROUND = b"\xff\xff\xff"
MARKS = {1: b"\xe0\x20\x20", 3: b"\x20\x40\xe0"}


@dataclass(frozen=True)
class Frame:
    pixels: bytes  # RGB, width x height
    hundredths: int  # how long the GIF shows it


class Filmstrip:
    def __init__(self, width: int, cell: int):
        self._width = width
        self._cell = cell
        self._frames: List[Frame] = []

    @property
    def height(self) -> int:
        return self._cell + STRIP

    def add(self, cells: bytes, seconds: float, pressed_slot: Optional[int] = None,
            button: int = 1) -> None:
        strip = bytearray(BACKGROUND * (self._width * STRIP))
        if pressed_slot is not None:
            inset = self._cell // 5
            left = (pressed_slot - 1) * self._cell + inset
            for row in range(1, STRIP - 1):
                for x in range(left, left + self._cell - 2 * inset):
                    at = 3 * (row * self._width + x)
                    strip[at:at + 3] = MARKS[button]
        self._frames.append(Frame(cells + bytes(strip), max(1, round(seconds * 100))))

    def _ppm(self, pixels: bytes, height: int, path: Path) -> None:
        path.write_bytes(f"P6 {self._width} {height} 255\n".encode() + pixels)

    def write_still(self, cells: bytes, path: Path) -> None:
        """The five cells alone, scaled up like the GIF."""
        with tempfile.TemporaryDirectory() as scratch:
            raw = Path(scratch) / "still.ppm"
            self._ppm(cells, self._cell, raw)
            subprocess.run([CONVERT, str(raw), "-scale", f"{SCALE * 100}%", "-strip", str(path)],
                           check=True)

    def write_gif(self, path: Path) -> int:
        """Writes the animation (looping); returns the number of frames."""
        with tempfile.TemporaryDirectory() as scratch:
            command = [CONVERT]
            for number, frame in enumerate(self._frames):
                raw = Path(scratch) / f"frame{number:03d}.ppm"
                self._ppm(frame.pixels, self.height, raw)
                command += ["-delay", str(frame.hundredths), str(raw)]
            command += ["-scale", f"{SCALE * 100}%", "-loop", "0", "-layers", "Optimize",
                        str(path)]
            subprocess.run(command, check=True)
        return len(self._frames)

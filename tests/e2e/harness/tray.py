"""Reads Wine's standalone "Wine System Tray" window: where it is, and which icon each cell shows.

Without a virtual desktop winex11 shows the tray as an undecorated X window with the icons
left to right in the order they were added, in square cells as high as the window, each with
a picture of the small-icon size centred in it: 16 x 16 in 20 px cells at 96 DPI, 24 x 24 in
28 px cells at 144 DPI."""

import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Dict, List, Optional, Tuple

from .pixmaps import Picture

TRAY_TITLE = "Wine System Tray"
SLOTS = 5

# A cell is taken for an icon only when it matches the icon's frame of the tray's size
# exactly: the program hands the tray the frame drawn for that size, so nothing is scaled.
MAX_DIFFERING_PIXELS = 0
# Wine's tray leaves this margin around the picture in each cell.
ICON_BORDER = 2

IMPORT = "/usr/bin/import"  # explicit paths: a different "convert" may come first on PATH
CONVERT = "/usr/bin/convert"


@dataclass(frozen=True)
class TrayWindow:
    window_id: int
    x: int
    y: int
    width: int
    height: int
    viewable: bool

    @property
    def cell(self) -> int:
        return self.height

    @property
    def icon_size(self) -> int:
        return self.cell - 2 * ICON_BORDER

    @property
    def cell_count(self) -> int:
        return self.width // self.cell

    def slot_centre(self, slot: int) -> Tuple[int, int]:
        return self.x + (slot - 1) * self.cell + self.cell // 2, self.y + self.cell // 2


@dataclass(frozen=True)
class CellMatch:
    symbol: Optional[str]  # None: no icon matched
    nearest: str
    differing: int

    def __str__(self) -> str:
        if self.symbol is not None:
            return self.symbol
        return f"unknown (nearest {self.nearest}, {self.differing} pixels differ)"


@dataclass(frozen=True)
class TrayReading:
    cells: Tuple[CellMatch, ...]

    @property
    def symbols(self) -> Tuple[Optional[str], ...]:
        return tuple(cell.symbol for cell in self.cells)

    def __str__(self) -> str:
        return " | ".join(str(cell) for cell in self.cells)


class TrayReader:
    def __init__(self, env: dict, references: Dict[int, Dict[str, Picture]]):
        """references: per icon size, each icon's picture keyed by its symbol."""
        self._env = env
        self._references = references

    def _run(self, *command: str) -> bytes:
        return subprocess.run(command, env=self._env, capture_output=True, check=True,
                              timeout=30).stdout

    def find(self) -> Optional[TrayWindow]:
        """The tray window, or None while Wine has not made it yet."""
        try:
            ids = self._run("xdotool", "search", "--name", f"^{TRAY_TITLE}$").split()
        except subprocess.CalledProcessError:
            return None
        if not ids:
            return None
        window_id = int(ids[0])
        info = self._run("xwininfo", "-id", str(window_id)).decode()
        fields = {}
        for line in info.splitlines():
            key, sep, value = line.strip().partition(":")
            if sep:
                fields[key] = value.strip()
        return TrayWindow(window_id, int(fields["Absolute upper-left X"]),
                          int(fields["Absolute upper-left Y"]), int(fields["Width"]),
                          int(fields["Height"]), fields.get("Map State") == "IsViewable")

    def capture_area(self, x: int, y: int, width: int, height: int) -> Tuple[int, int, bytes]:
        """A part of the screen as (width, height, RGB bytes)."""
        crop = f"{width}x{height}+{x}+{y}"
        ppm = self._run(IMPORT, "-window", "root", "-crop", crop, "+repage", "-depth", "8", "ppm:-")
        return _parse_ppm(ppm)

    def capture(self, window: TrayWindow) -> Tuple[int, int, bytes]:
        """The tray window's pixels."""
        return self.capture_area(window.x, window.y, window.width, window.height)

    def read(self, window: TrayWindow, cells_wanted: int = SLOTS) -> TrayReading:
        """Classifies the first cells_wanted cells, slot 1 leftmost."""
        return self.read_picture(window, *self.capture(window), cells_wanted)

    def read_picture(self, window: TrayWindow, width: int, height: int, pixels: bytes,
                     cells_wanted: int = SLOTS) -> TrayReading:
        """The same for a picture of the window's left part taken some other way."""
        size = window.icon_size
        offset = (window.cell - size) // 2
        cells = []
        for slot in range(1, cells_wanted + 1):
            left = (slot - 1) * window.cell + offset
            if left + size > width or offset + size > height:
                cells.append(CellMatch(None, "nothing: outside the tray window", size * size))
                continue
            cells.append(self._classify(_cut(width, pixels, left, offset, size), size))
        return TrayReading(tuple(cells))

    def _classify(self, cell: Picture, size: int) -> CellMatch:
        references = self._references.get(size, {})
        if not references:
            return CellMatch(None, f"nothing: no icon frame is {size} x {size}", size * size)
        best, best_differing = "", size * size + 1
        for symbol, reference in references.items():
            differing = sum(1 for a, b in zip(cell, reference) if a != b)
            if differing < best_differing:
                best, best_differing = symbol, differing
        return CellMatch(best if best_differing <= MAX_DIFFERING_PIXELS else None, best, best_differing)

    def save_picture(self, window: TrayWindow, path: Path, scale_percent: int = 300) -> None:
        path.parent.mkdir(parents=True, exist_ok=True)
        crop = f"{window.width}x{window.height}+{window.x}+{window.y}"
        raw = path.with_suffix(".raw.png")
        self._run(IMPORT, "-window", "root", "-crop", crop, "+repage", str(raw))
        self._run(CONVERT, str(raw), "-scale", f"{scale_percent}%", str(path))
        raw.unlink()

    def save_screen(self, path: Path) -> None:
        path.parent.mkdir(parents=True, exist_ok=True)
        self._run(IMPORT, "-window", "root", str(path))


def _parse_ppm(data: bytes) -> Tuple[int, int, bytes]:
    fields, position = [], 0
    while len(fields) < 4:  # magic, width, height, maxval; '#' comments are not written by import
        while data[position:position + 1].isspace():
            position += 1
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(f"unexpected picture format {fields[0]!r} maxval {fields[3]!r}")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[position + 1:position + 1 + width * height * 3]
    return width, height, pixels


def _cut(width: int, pixels: bytes, left: int, top: int, size: int) -> Picture:
    cell = []
    for y in range(top, top + size):
        row = (y * width + left) * 3
        for x in range(size):
            i = row + 3 * x
            cell.append((pixels[i], pixels[i + 1], pixels[i + 2]))
    return tuple(cell)

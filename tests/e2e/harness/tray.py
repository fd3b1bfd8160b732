"""Reads the screen: an open popup menu's rows, and the icons in Wine's "Wine System Tray" window,
left to right as added, each centred in a square cell as high as the window at the small-icon
size (16 px at 96 DPI, 24 at 144); a cell is an icon when it matches that frame pixel for pixel."""

import functools
import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Dict, List, Optional, Tuple

TRAY_TITLE = "Wine System Tray"
SLOTS = 5
ICON_BORDER = 2  # Wine's tray leaves this margin around the picture in each cell
IMPORT = "/usr/bin/import"  # explicit paths: a different "convert" may come first on PATH
CONVERT = "/usr/bin/convert"

Rgb = Tuple[int, int, int]
Picture = Tuple[Rgb, ...]  # row-major, top row first

# Same format as tools/pixmap/pixel_map.h: one palette character per pixel.
_PALETTE = dict(zip("#mgonptserlybfa.", [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]))
# What each icon file reads as in the tray, in the tests' terms.
SYMBOLS = {**{f"num{d}": str(d) for d in range(10)}, "s": "S", "b": "B", "o": "O", "k": "K",
           "n": "N", "g": "G", "sp": "blank", "sw": "sphere"}


def parse_icon_frames(text: str) -> Dict[int, Picture]:
    """A pixel map's square frames by size (as tools/pixmap reads them: ';' starts a comment;
    a malformed map is the icon compiler's to refuse)."""
    rows = [row for row in text.replace("\r", "").split("\n") if row and row[0] != ";"]
    frames: Dict[int, Picture] = {}
    while rows:
        size = len(rows[0])
        frames[size] = tuple(_PALETTE[c] for row in rows[:size] for c in row)
        rows = rows[size:]
    return frames


@functools.lru_cache(maxsize=None)
def load_references(directory: Path, size: int) -> Dict[str, Picture]:
    maps = {symbol: parse_icon_frames((directory / f"{name}.txt").read_text("utf-8"))
            for name, symbol in SYMBOLS.items()}
    return {symbol: frames[size] for symbol, frames in maps.items() if size in frames}


@dataclass(frozen=True)
class TrayWindow:
    window_id: int
    x: int
    y: int
    width: int
    height: int
    viewable: bool

    cell = property(lambda self: self.height)  # square cells as high as the window
    icon_size = property(lambda self: self.cell - 2 * ICON_BORDER)
    cell_count = property(lambda self: self.width // self.cell)

    def slot_centre(self, slot: int) -> Tuple[int, int]:
        return self.x + (slot - 1) * self.cell + self.cell // 2, self.y + self.cell // 2


@dataclass(frozen=True)
class TrayReading:
    symbols: Tuple[Optional[str], ...]  # None: the cell matched no icon
    nearest: Tuple[str, ...] = ()  # for a failure message: the icon nearest to each cell


class TrayReader:
    def __init__(self, env: dict, icons: Path):
        self._env, self._icons = env, icons

    def run(self, *command: str) -> bytes:
        return subprocess.run(command, env=self._env, capture_output=True, check=True,
                              timeout=30).stdout

    def find(self) -> Optional[TrayWindow]:
        ids = subprocess.run(["xdotool", "search", "--name", f"^{TRAY_TITLE}$"], env=self._env,
                             capture_output=True, timeout=30).stdout.split()
        if not ids:
            return None
        try:
            info = self.run("xwininfo", "-id", ids[0].decode()).decode()
        except subprocess.CalledProcessError:  # the window went between the two calls
            return None
        fields = dict(line.strip().partition(":")[::2] for line in info.splitlines())
        number = (lambda key: int(fields["Absolute upper-left " + key] if len(key) == 1
                                  else fields[key]))
        return TrayWindow(int(ids[0]), number("X"), number("Y"), number("Width"),
                          number("Height"), fields.get("Map State", "").strip() == "IsViewable")

    def capture(self, left: int, top: int, right: int, bottom: int) -> Tuple[int, int, bytes]:
        width, height = right - left, bottom - top
        data = self.run(IMPORT, "-window", "root", "-crop", f"{width}x{height}+{left}+{top}",
                        "+repage", "-depth", "8", "rgb:-")
        if len(data) != 3 * width * height:  # a crop beyond the screen's edge comes back smaller
            raise ValueError(f"{len(data)} bytes of RGB for a picture of {width} x {height}")
        return width, height, data

    def pixels(self, rect: Tuple[int, int, int, int]) -> List[Rgb]:
        width, height, data = self.capture(*rect)
        return [tuple(data[i:i + 3]) for i in range(0, width * height * 3, 3)]

    def read(self, tray: TrayWindow, cells_wanted: int = SLOTS) -> TrayReading:
        return self.read_picture(tray, *self.capture(tray.x, tray.y, tray.x + tray.width,
                                                     tray.y + tray.height), cells_wanted)

    def read_picture(self, window: TrayWindow, width: int, height: int, pixels: bytes,
                     cells_wanted: int = SLOTS) -> TrayReading:
        """The same for a picture of the window's left part taken some other way."""
        size = window.icon_size
        offset = (window.cell - size) // 2
        symbols, nearest = [], []
        for slot in range(cells_wanted):
            left = slot * window.cell + offset
            if left + size > width or offset + size > height:
                symbols.append(None), nearest.append("nothing")
                continue
            cell = [tuple(pixels[3 * ((y * width) + x):3 * ((y * width) + x) + 3])
                    for y in range(offset, offset + size) for x in range(left, left + size)]
            symbol = self.classify(cell, load_references(self._icons, size))
            symbols.append(symbol[0] if symbol[1] == 0 else None), nearest.append(symbol[0])
        return TrayReading(tuple(symbols), tuple(nearest))

    @staticmethod
    def classify(cell, references: Dict[str, Picture]) -> Tuple[str, int]:
        return min(((symbol, sum(a != b for a, b in zip(cell, reference)))
                    for symbol, reference in references.items()),
                   key=lambda match: match[1], default=("nothing", len(cell)))

    def menu_rows(self, rect: Tuple[int, int, int, int], edge: int = 3) -> List[Tuple[int, int]]:
        """The middle of each text row of an open popup menu: Wine cannot read its items from
        another process, so the rows are bands of dark pixels (separators are grey)."""
        width = rect[2] - rect[0]
        pixels = self.pixels(rect)
        dark = [any(pixels[y * width + x][0] < 100 for x in range(edge, width - edge))
                for y in range(edge, rect[3] - rect[1] - edge)] + [False]
        starts = [y for y in range(len(dark)) if dark[y] and (y == 0 or not dark[y - 1])]
        ends = [y for y in range(len(dark)) if not dark[y] and y > 0 and dark[y - 1]]
        return [((rect[0] + rect[2]) // 2, rect[1] + edge + (first + last - 1) // 2)
                for first, last in zip(starts, ends)]

    def save_screen(self, path: Path) -> None:
        path.parent.mkdir(parents=True, exist_ok=True)
        self.run(IMPORT, "-window", "root", "-strip", str(path))

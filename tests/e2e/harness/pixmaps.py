"""The program's icon pixel maps (resources/icons/<name>.txt) and how the tray shows them.

Same format as tools/pixmap/pixel_map.h: square frames one after the other (32 x 32, then the
24, 20 and 16 drawn for the tray), each as rows of palette characters; a frame's first row
sets its size. Lines that start with ';' and blank lines are skipped."""

from pathlib import Path
from typing import Dict, List, Tuple

Rgb = Tuple[int, int, int]
Picture = Tuple[Rgb, ...]  # row-major, top row first

MAP_SIZE = 32
FRAME_SIZES = (32, 24, 20, 16)
TRAY_SIZE = 16  # the small-icon size at 96 DPI

_PALETTE_CHARS = "#mgonptserlybfa."
_PALETTE: List[Rgb] = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

# What each icon reads as in the tray, in the tests' terms.
SYMBOLS: Dict[str, str] = {
    **{f"num{d}": str(d) for d in range(10)},
    "s": "S", "b": "B", "o": "O", "k": "K", "n": "N", "g": "G",
    "sp": "blank", "sw": "sphere",
}


def parse_icon_frames(text: str, origin: str = "map") -> Dict[int, Picture]:
    """Every frame of a map, keyed by its size."""
    rows = [line.rstrip("\r") for line in text.split("\n")]
    rows = [row for row in rows if row and not row.startswith(";")]
    frames: Dict[int, Picture] = {}
    while rows:
        size = len(rows[0])
        if size not in FRAME_SIZES or size in frames:
            raise ValueError(f"{origin}: a frame {size} wide where a new frame starts")
        if len(rows) < size:
            raise ValueError(f"{origin}: the {size} x {size} frame has {len(rows)} rows")
        pixels = []
        for number, row in enumerate(rows[:size], 1):
            if len(row) != size:
                raise ValueError(f"{origin}: row {number} of the {size} x {size} frame has "
                                 f"{len(row)} columns")
            for c in row:
                index = _PALETTE_CHARS.find(c)
                if index < 0:
                    raise ValueError(f"{origin}: {c!r} is not a palette character")
                pixels.append(_PALETTE[index])
        frames[size] = tuple(pixels)
        rows = rows[size:]
    if MAP_SIZE not in frames:
        raise ValueError(f"{origin}: no {MAP_SIZE} x {MAP_SIZE} frame")
    return frames


def parse_pixel_map(text: str, origin: str = "map") -> Picture:
    """The 32 x 32 design frame of a map."""
    return parse_icon_frames(text, origin)[MAP_SIZE]


def load_tray_references(directory: Path, size: int = TRAY_SIZE) -> Dict[str, Picture]:
    """Every icon's frame of the given size, keyed by its symbol (see SYMBOLS): what the tray
    shows, unscaled, when its icons are that size."""
    references = {}
    for name, symbol in SYMBOLS.items():
        path = directory / f"{name}.txt"
        frames = parse_icon_frames(path.read_text(encoding="utf-8"), str(path))
        if size in frames:
            references[symbol] = frames[size]
    return references

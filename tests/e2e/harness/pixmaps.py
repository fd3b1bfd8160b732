"""The program's icon pixel maps (resources/icons/<name>.txt) and how the tray shows them.

Same format as tools/pixmap/pixel_map.h: 32 lines of 32 palette characters; lines that
start with ';' and blank lines are skipped."""

from pathlib import Path
from typing import Dict, List, Tuple

Rgb = Tuple[int, int, int]
Picture = Tuple[Rgb, ...]  # row-major, top row first

MAP_SIZE = 32
TRAY_SIZE = 16

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


def parse_pixel_map(text: str, origin: str = "map") -> Picture:
    rows = [line.rstrip("\r") for line in text.split("\n")]
    rows = [row for row in rows if row and not row.startswith(";")]
    if len(rows) != MAP_SIZE:
        raise ValueError(f"{origin}: {len(rows)} rows, expected {MAP_SIZE}")
    pixels = []
    for number, row in enumerate(rows, 1):
        if len(row) != MAP_SIZE:
            raise ValueError(f"{origin}: row {number} has {len(row)} columns, expected {MAP_SIZE}")
        for c in row:
            index = _PALETTE_CHARS.find(c)
            if index < 0:
                raise ValueError(f"{origin}: row {number}: {c!r} is not a palette character")
            pixels.append(_PALETTE[index])
    return tuple(pixels)


def tray_sample(picture: Picture) -> Picture:
    """The 16 x 16 picture the tray shows: Wine point-samples 32 -> 16 from source column
    2x+1 and row 2y, without filtering."""
    return tuple(picture[(2 * y) * MAP_SIZE + 2 * x + 1]
                 for y in range(TRAY_SIZE) for x in range(TRAY_SIZE))


def load_tray_references(directory: Path) -> Dict[str, Picture]:
    """Every icon's tray picture, keyed by its symbol (see SYMBOLS)."""
    references = {}
    for name, symbol in SYMBOLS.items():
        path = directory / f"{name}.txt"
        references[symbol] = tray_sample(parse_pixel_map(path.read_text(encoding="utf-8"), str(path)))
    return references

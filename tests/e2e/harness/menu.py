"""Finds the rows of an open popup menu on the screen, so that a test can click an entry.

Wine cannot read a menu's items from another process, and the row height depends on the
fonts, so the rows are found in the picture: bands of dark text pixels separated by empty
lines. Separators are grey lines, not text, and form no band."""

from dataclasses import dataclass
from typing import List, Tuple

from .tray import TrayReader

DARK = 100  # text is black; the menu background, separators and edges are lighter
MENU_EDGE = 3  # pixels of frame left out on every side


@dataclass(frozen=True)
class MenuRect:
    left: int
    top: int
    right: int
    bottom: int

    @staticmethod
    def parse(text: str) -> "MenuRect":
        left, top, right, bottom = (int(part) for part in text.split(","))
        return MenuRect(left, top, right, bottom)


def text_rows(reader: TrayReader, menu: MenuRect) -> List[Tuple[int, int]]:
    """(x, y) screen points at the middle of each text row of the menu, top to bottom."""
    width, height = menu.right - menu.left, menu.bottom - menu.top
    _, _, pixels = reader.capture_area(menu.left, menu.top, width, height)
    dark_rows = []
    for y in range(MENU_EDGE, height - MENU_EDGE):
        row = pixels[y * width * 3:(y + 1) * width * 3]
        dark_rows.append(any(row[3 * x] < DARK for x in range(MENU_EDGE, width - MENU_EDGE)))
    bands, start = [], None
    for offset, dark in enumerate(dark_rows + [False]):
        if dark and start is None:
            start = offset
        elif not dark and start is not None:
            bands.append((start, offset - 1))
            start = None
    x = menu.left + width // 2
    return [(x, menu.top + MENU_EDGE + (first + last) // 2) for first, last in bands]

"""Reads the program's icons wherever they are on the screen, left to right: in Wine's own
"Wine System Tray" window and docked into a desktop's freedesktop (XEmbed) tray. Also waits
for such a tray (trayer) to own the tray selection.

A docked icon is drawn unscaled and centred in its cell, but its transparent pixels show the
panel, so a docked cell is read as the icon it differs least from instead of exactly."""

import ctypes
import subprocess
from typing import Dict, List, Optional, Tuple

from .pixmaps import TRAY_SIZE, Picture
from .tray import TrayReader

WINE_PROCESS_CLASS = '("explorer.exe" "explorer.exe")'  # Wine's tray host draws the icons
MOST_DIFFERING_DOCKED = TRAY_SIZE * TRAY_SIZE // 4


def tray_selection_owned(display: str) -> bool:
    """Whether a desktop tray owns _NET_SYSTEM_TRAY_S0 on the display, as Wine checks."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XGetSelectionOwner.restype = ctypes.c_ulong
    x11.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    connection = x11.XOpenDisplay(display.encode())
    if not connection:
        return False
    try:
        atom = x11.XInternAtom(connection, b"_NET_SYSTEM_TRAY_S0", 0)
        return x11.XGetSelectionOwner(connection, atom) != 0
    finally:
        x11.XCloseDisplay(connection)


def _docked_cells(env: dict) -> List[Tuple[int, int, int, int]]:
    """(x, y, width, height) on the screen of every window Wine docked into trayer's panel."""
    try:
        panel = subprocess.run(["xdotool", "search", "--classname", "^panel$"], env=env,
                               capture_output=True, check=True, timeout=30).stdout.split()
    except subprocess.CalledProcessError:
        return []
    cells = []
    for window in panel:
        tree = subprocess.run(["xwininfo", "-tree", "-id", window.decode()], env=env,
                              capture_output=True, text=True, check=True, timeout=30).stdout
        for line in tree.splitlines():
            if WINE_PROCESS_CLASS not in line:
                continue
            size, absolute = line.split()[-2:]  # "20x22+0+0" "+923+1"
            width, height = (int(n) for n in size.split("+")[0].split("x"))
            x, y = (int(n) for n in absolute.lstrip("+").split("+"))
            cells.append((x, y, width, height))
    return cells


def icons_left_to_right(reader: TrayReader, references: Dict[str, Picture],
                        env: dict) -> List[Optional[str]]:
    """Every icon shown, by its x on the screen; None for a docked cell that reads as no icon."""
    found = []
    tray = reader.find()
    if tray is not None and tray.viewable:
        for index, cell in enumerate(reader.read(tray, tray.cell_count).cells):
            if cell.symbol != "blank":  # the empty cells after the last icon
                found.append((tray.x + index * tray.cell, cell.symbol))
    for x, y, width, height in _docked_cells(env):
        left, top = x + (width - TRAY_SIZE) // 2, y + (height - TRAY_SIZE) // 2
        _, _, pixels = reader.capture_area(left, top, TRAY_SIZE, TRAY_SIZE)
        picture = tuple(tuple(pixels[i:i + 3]) for i in range(0, len(pixels), 3))
        differing, symbol = min(
            (sum(a != b for a, b in zip(picture, reference)), symbol)
            for symbol, reference in references.items())
        found.append((x, symbol if differing <= MOST_DIFFERING_DOCKED else None))
    return [symbol for _, symbol in sorted(found)]

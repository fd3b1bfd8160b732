"""What the window tests read besides the probe: the texts and ids of the window's controls,
the X windows on the screen, the processes of a session, and pictures of a part of the screen.

The probe reports which controls are shown and where, but not what they say. Wine's own
debugger does: "info wnd" lists the window tree with handles and classes, and "info *wnd <h>"
prints one window in full (its id, style and text), read with GetWindowTextA in the ANSI code
page, which the Japanese locale makes CP932."""

import re
import shutil
import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Dict, List, Optional, Tuple

from harness import processes
from harness.session import GameSession
from harness.tray import IMPORT

MAIN_CLASS = "frmQuor6"
WS_VISIBLE = 0x10000000
SS_TYPEMASK = 0x1F
SS_ICON = 0x03
ANSI_CODE_PAGE = "cp932"
EMPTY_TEXT = "-- Empty --"  # what the debugger prints for a window without text

Rect = Tuple[int, int, int, int]  # left, top, right, bottom in screen pixels


def parse_rect(text: str) -> Rect:
    left, top, right, bottom = (int(part) for part in text.split(","))
    return left, top, right, bottom


def centre(rect: Rect) -> Tuple[float, float]:
    return (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2


# --- the controls, through winedbg ---------------------------------------------------------

@dataclass(frozen=True)
class Control:
    handle: int
    class_name: str
    control_id: int
    style: int
    text: str

    @property
    def visible(self) -> bool:
        return bool(self.style & WS_VISIBLE)


# "  0001008e           Static            54000081 0000000000000000 00000024 QUOR6"
_TREE_LINE = re.compile(r"^( *)([0-9a-fA-F]+) +(\S+) ")
_DETAIL = re.compile(
    r"class='(?P<cls>[^']*)'\n"
    r"inst=\S+ +active=\S+ +idmenu=(?P<id>[0-9a-fA-F]+)\n"
    r"style=0x(?P<style>[0-9a-fA-F]+) +exstyle=\S+ +wndproc=\S+ +text='(?P<text>.*?)'\n"
    r"client=", re.DOTALL)


def _winedbg(session: GameSession, *args: str) -> str:
    done = subprocess.run([str(session.config.wine), "winedbg", *args], env=session.env,
                          capture_output=True, timeout=60)
    if done.returncode != 0:
        raise AssertionError(f"winedbg {' '.join(args)} failed ({done.returncode}): "
                             f"{done.stderr.decode('utf-8', 'replace')[-500:]}")
    return done.stdout.decode(ANSI_CODE_PAGE, "replace").replace("\r\n", "\n")


def _main_children(tree: str) -> List[int]:
    """The handles of the main window's children in the debugger's window tree."""
    children, depth = [], None
    for line in tree.splitlines():
        match = _TREE_LINE.match(line)
        if not match:
            continue
        indent = len(match.group(1))
        if depth is None:
            if match.group(3) == MAIN_CLASS:
                depth = indent
            continue
        if indent <= depth:
            break
        if indent == depth + 1:
            children.append(int(match.group(2), 16))
    if depth is None:
        raise AssertionError(f"no {MAIN_CLASS} window in the window tree:\n{tree}")
    return children


def read_controls(session: GameSession) -> Dict[int, Control]:
    """The main window's controls by id, as they are now."""
    handles = _main_children(_winedbg(session, "--command", "info wnd"))
    commands = session.directory / "winedbg-commands.txt"
    commands.write_text("".join(f"info *wnd 0x{handle:x}\n" for handle in handles))
    details = _winedbg(session, "--file", str(commands))
    found = list(_DETAIL.finditer(details))
    if len(found) != len(handles):
        raise AssertionError(f"winedbg described {len(found)} of {len(handles)} controls:\n{details}")
    controls = {}
    for handle, match in zip(handles, found):
        text = match.group("text")
        control = Control(handle, match.group("cls"), int(match.group("id"), 16),
                          int(match.group("style"), 16), "" if text == EMPTY_TEXT else text)
        controls[control.control_id] = control
    return controls


def is_icon_static(control: Control) -> bool:
    return control.class_name.lower() == "static" and control.style & SS_TYPEMASK == SS_ICON


# --- X windows -----------------------------------------------------------------------------

@dataclass(frozen=True)
class XWindow:
    window_id: int
    name: str
    program: str  # the WM_CLASS instance Wine gives a program's windows: its file name
    x: int
    y: int
    width: int
    height: int


# '     0xe00001 "quor6 ヘルプ ...": ("winhlp32.exe" "winhlp32.exe")  760x549+4+23  +4+23'
_X_TREE_LINE = re.compile(r'^\s+(0x[0-9a-f]+) "(.*)": \("([^"]*)" "[^"]*"\)\s+'
                          r'(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+)')


def x_windows(session: GameSession) -> List[XWindow]:
    """The named top-level X windows on the session's screen."""
    done = subprocess.run(["xwininfo", "-root", "-children"], env=session.env,
                          capture_output=True, check=True, timeout=30)
    windows = []
    for line in done.stdout.decode("utf-8", "replace").splitlines():
        match = _X_TREE_LINE.match(line)
        if match:
            windows.append(XWindow(int(match.group(1), 16), match.group(2), match.group(3),
                                   int(match.group(6)), int(match.group(7)),
                                   int(match.group(4)), int(match.group(5))))
    return windows


def x_window_named(session: GameSession, name_start: str) -> Optional[XWindow]:
    return next((window for window in x_windows(session) if window.name.startswith(name_start)),
                None)


def is_viewable(session: GameSession, window: XWindow) -> bool:
    done = subprocess.run(["xwininfo", "-id", str(window.window_id)], env=session.env,
                          capture_output=True, timeout=30)
    return b"Map State: IsViewable" in done.stdout


def xdotool(session: GameSession, *args: str) -> None:
    subprocess.run(["xdotool", *args], env=session.env, check=True, timeout=30,
                   capture_output=True)


def press_key(session: GameSession, window: XWindow, key: str) -> None:
    """Gives the window the X keyboard focus, then types the key, as into the window in front."""
    xdotool(session, "windowfocus", "--sync", str(window.window_id))
    xdotool(session, "key", key)


def move_window(session: GameSession, window: XWindow, x: int, y: int) -> None:
    xdotool(session, "windowmove", "--sync", str(window.window_id), str(x), str(y))


def screen_size(session: GameSession) -> Tuple[int, int]:
    done = subprocess.run(["xwininfo", "-root"], env=session.env, capture_output=True,
                          check=True, timeout=30)
    text = done.stdout.decode()
    width = int(re.search(r"Width: (\d+)", text).group(1))
    height = int(re.search(r"Height: (\d+)", text).group(1))
    return width, height


# --- pictures ------------------------------------------------------------------------------

def pixels_of(session: GameSession, rect: Rect) -> List[Tuple[int, int, int]]:
    left, top, right, bottom = rect
    width, height, data = session.tray.capture_area(left, top, right - left, bottom - top)
    return [(data[i], data[i + 1], data[i + 2]) for i in range(0, width * height * 3, 3)]


def save_window_picture(session: GameSession, window: XWindow, path: Path) -> None:
    """The window's pixels as a PNG, without the time stamps ImageMagick would add."""
    path.parent.mkdir(parents=True, exist_ok=True)
    crop = f"{window.width}x{window.height}+{window.x}+{window.y}"
    subprocess.run([IMPORT, "-window", "root", "-crop", crop, "+repage", "-strip", str(path)],
                   env=session.env, check=True, timeout=30, capture_output=True)


# --- processes and the prefix ----------------------------------------------------------------

def session_commands(session: GameSession) -> List[List[str]]:
    """The command lines (as argument lists) of the session's processes. For a Windows process
    Wine shows its Windows command line there, split as the C runtime would: at blanks, except
    inside quotation marks, which it removes."""
    commands = []
    for pid in processes.pids_of_session(session.directory):
        try:
            raw = Path(f"/proc/{pid}/cmdline").read_bytes()
        except OSError:
            continue
        commands.append([part.decode("utf-8", "replace") for part in raw.split(b"\0") if part])
    return commands


def windows_path(path: Path) -> str:
    """A Linux path as Wine's drive Z: shows it to Windows programs."""
    return "Z:" + str(path).replace("/", "\\")


def help_viewers(session: GameSession) -> List[Path]:
    """The winhlp32.exe files of the session's own prefix: in the Windows directory and the
    system directories."""
    windows = Path(session.env["WINEPREFIX"]) / "drive_c" / "windows"
    return [viewer for directory in (windows, windows / "system32", windows / "syswow64")
            if directory.is_dir() for viewer in directory.iterdir()
            if viewer.name.lower() == "winhlp32.exe" and viewer.is_file()]


def hide_help_viewer(session: GameSession) -> List[Path]:
    """Renames the prefix's winhlp32.exe files, so that no help viewer can be started."""
    renamed = []
    for viewer in help_viewers(session):
        target = viewer.with_name(viewer.name + ".gone")
        viewer.rename(target)
        renamed.append(target)
    return renamed


def replace_help_viewer(session: GameSession, stand_in: Path) -> List[Path]:
    """Puts a copy of `stand_in` in place of every winhlp32.exe of the prefix."""
    viewers = help_viewers(session)
    for viewer in viewers:
        shutil.copyfile(stand_in, viewer)
    return viewers


def import_registry(session: GameSession, text: str) -> None:
    """Merges a REGEDIT4 text into the session's prefix."""
    script = session.directory / "settings.reg"
    script.write_text("REGEDIT4\n\n" + text, encoding="ascii")
    # No pipes: the prefix's services, started by this first Wine command, would hold them open.
    subprocess.run([str(session.config.wine), "regedit", "/S", windows_path(script)],
                   env=session.env, check=True, timeout=60, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)

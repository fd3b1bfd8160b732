"""Start-up: from launching a program until its five icons show in the tray, against
five_icons.exe, which adds five icons and does nothing else.

The runs alternate between the two programs, in the order A B B A, so that a change in the
machine's load during the measurement falls on both alike. Every run starts on a running
desktop and an empty, hidden tray; each program is closed with WM_CLOSE before the next."""

import time
from dataclasses import dataclass, field
from typing import Dict, List

from .tray_watch import TrayArea, TrayWatch, find_tray_window
from .wine_world import WineWorld
from .x11_snapshot import ScreenReader

SLOTS = 5
POLL_INTERVAL = 0.002  # one GetImage takes about 0.2 ms
START_TIMEOUT = 60.0
POINTER_PARK = ("1000", "750")  # far from the tray: no mouse message may reach an icon


@dataclass(frozen=True)
class Program:
    label: str
    path: str  # as Wine is given it
    image_name: str  # for taskkill


def find_tray(world: WineWorld, timeout: float = START_TIMEOUT) -> TrayArea:
    deadline = time.monotonic() + timeout
    while True:
        area = find_tray_window(world)
        if area is not None:
            return area
        if time.monotonic() > deadline:
            raise TimeoutError("the Wine System Tray window never showed")
        time.sleep(0.05)


@dataclass
class Timings:
    first_icon: List[float] = field(default_factory=list)  # seconds after launch, per run
    five_icons: List[float] = field(default_factory=list)


class StartupTimer:
    def __init__(self, world: WineWorld, screen: ScreenReader):
        self._world = world
        self._screen = screen
        self.watch: "TrayWatch | None" = None

    def warm_up(self, program: Program) -> TrayArea:
        """One untimed start that makes Wine's desktop show the tray, to learn where it is
        and what its background looks like."""
        self._world.run("xdotool", "mousemove", *POINTER_PARK)
        started = self._world.launch(program.path)
        area = find_tray(self._world)
        time.sleep(1.0)  # let all five icons arrive before the background is sampled
        corner = self._screen.grab(area.x, area.y, 1, 1)
        self.watch = TrayWatch(self._screen, area, corner)
        shown = self.watch.icons_shown()
        if shown != SLOTS:
            raise RuntimeError(f"{program.label}: {shown} icons in the tray after the warm-up")
        self._close(program, started)
        return area

    def _close(self, program: Program, started) -> None:
        self._world.close_program(program.image_name, started)
        self.watch.wait_for(lambda shown: shown == 0, "the tray to empty", START_TIMEOUT, 0.05)
        time.sleep(0.5)  # the tray is hidden; let the desktop settle before the next start

    def time_once(self, program: Program) -> "tuple[float, float]":
        """Seconds from launch to the first picture of the tray with one icon, and with all
        five."""
        launched = time.monotonic()
        started = self._world.launch(program.path)
        first = self.watch.wait_for(lambda shown: shown >= 1, f"{program.label}'s first icon",
                                    START_TIMEOUT, POLL_INTERVAL)
        five = self.watch.wait_for(lambda shown: shown >= SLOTS, f"{program.label}'s icons",
                                   START_TIMEOUT, POLL_INTERVAL)
        self._close(program, started)
        return first - launched, five - launched

    def time_alternating(self, first: Program, second: Program, runs: int) -> Dict[str, Timings]:
        timings = {first.label: Timings(), second.label: Timings()}
        for round_number in range(runs):
            order = (first, second) if round_number % 2 == 0 else (second, first)
            for program in order:
                to_first, to_five = self.time_once(program)
                timings[program.label].first_icon.append(to_first)
                timings[program.label].five_icons.append(to_five)
        return timings

    def tray_moved(self, area: TrayArea) -> bool:
        """Whether the tray window is somewhere else now than in the warm-up."""
        return find_tray(self._world) != area

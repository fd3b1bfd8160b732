"""Start-up: from launching a program until its five icons show in the tray, against
five_icons.exe, which adds five icons and does nothing else.

The runs alternate between the two programs, in the order A B B A, so that a change in the
machine's load during the measurement falls on both alike. Every run starts on a running
desktop and an empty, hidden tray; each program is closed with WM_CLOSE before the next."""

import time
from dataclasses import dataclass, field
from typing import Dict, List

from harness.session import GameSession
from harness.tray import SLOTS, TrayWindow

from .tray_watch import TrayWatch
from .wine_world import POINTER_PARK, START_TIMEOUT, close_program
from .x11_snapshot import ScreenReader

POLL_INTERVAL = 0.002  # one GetImage takes about 0.2 ms


@dataclass(frozen=True)
class Program:
    label: str
    path: str  # as Wine is given it
    image_name: str  # for taskkill


@dataclass
class Timings:
    first_icon: List[float] = field(default_factory=list)  # seconds after launch, per run
    five_icons: List[float] = field(default_factory=list)


class StartupTimer:
    def __init__(self, session: GameSession, screen: ScreenReader):
        self._session = session
        self._screen = screen
        self.watch: "TrayWatch | None" = None

    def warm_up(self, program: Program) -> TrayWindow:
        """One untimed start that makes Wine's desktop show the tray, to learn where it is
        and what its background looks like."""
        self._session.player.move_to(*POINTER_PARK)
        started = self._session.launch(program.path)
        window = self._session.find_tray(START_TIMEOUT)
        time.sleep(1.0)  # let all five icons arrive before the background is sampled
        corner = self._screen.grab(window.x, window.y, 1, 1)
        self.watch = TrayWatch(self._screen, window, corner)
        shown = self.watch.icons_shown()
        if shown != SLOTS:
            raise RuntimeError(f"{program.label}: {shown} icons in the tray after the warm-up")
        self._close(program, started)
        return window

    def _close(self, program: Program, started) -> None:
        close_program(self._session, program.image_name, started)
        self.watch.wait_for(lambda shown: shown == 0, "the tray to empty", START_TIMEOUT, 0.05)
        time.sleep(0.5)  # the tray is hidden; let the desktop settle before the next start

    def time_once(self, program: Program) -> "tuple[float, float]":
        """Seconds from launch to the first picture of the tray with one icon, and with all
        five."""
        launched = time.monotonic()
        started = self._session.launch(program.path)
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

    def tray_moved(self, window: TrayWindow) -> bool:
        """Whether the tray window is somewhere else now than in the warm-up."""
        return self._session.find_tray(START_TIMEOUT) != window

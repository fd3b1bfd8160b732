"""The digit step period while a button is held on a digit icon, seen from outside:
guess_sampler.exe reads the guess box every ~2 ms while xdotool holds the button."""

import subprocess
import time
from dataclasses import dataclass
from typing import List

from harness.session import GameSession
from harness.tray import TrayWindow

from .wine_world import POINTER_PARK

SAMPLER_MARGIN = 2.5  # seconds the sampler runs beyond the hold


@dataclass(frozen=True)
class Change:
    at_ms: float
    text: str
    slack_ms: float


@dataclass(frozen=True)
class Hold:
    slot: int
    button: int  # 1 left (up), 3 right (down)
    seconds: float
    changes: List[Change]  # the first is the guess before the press

    @property
    def steps(self) -> List[Change]:
        return self.changes[1:]

    @property
    def intervals_ms(self) -> List[float]:
        return [b.at_ms - a.at_ms for a, b in zip(self.steps, self.steps[1:])]

    def problems(self) -> List[str]:
        """Anything but one digit stepping by one, up for the left button, down for the right."""
        found = []
        step = 1 if self.button == 1 else -1
        for before, after in zip(self.changes, self.changes[1:]):
            index = self.slot - 1
            wanted = before.text[:index] + str((int(before.text[index]) + step) % 10) + before.text[index + 1:]
            if after.text != wanted:
                found.append(f"{before.text} -> {after.text} (expected {wanted})")
        return found


def _parse(lines: List[str]) -> List[Change]:
    changes = []
    for line in lines:
        parts = line.split()
        if len(parts) == 3 and parts[0][0].isdigit():
            changes.append(Change(float(parts[0]), parts[1], float(parts[2])))
    return changes


def hold(session: GameSession, sampler: str, window: TrayWindow, slot: int, button: int,
         seconds: float) -> Hold:
    watcher = session.launch(sampler, f"{seconds + SAMPLER_MARGIN:.1f}", stdout=subprocess.PIPE)
    first = watcher.stdout.readline().decode().strip()
    if first != "ready":
        watcher.wait(30)
        raise RuntimeError(f"guess_sampler did not start: {first!r}")
    session.player.move_to(*window.slot_centre(slot))
    time.sleep(0.3)  # the pointer's arrival is a mouse move, not a press
    with session.player.holding(window, slot, button):
        time.sleep(seconds)
    session.player.move_to(*POINTER_PARK)
    # Read through the same buffered file as the "ready" line: communicate() would read the
    # pipe beneath it and lose whatever that readline() had already buffered.
    lines = [line.decode().strip() for line in watcher.stdout]
    watcher.wait(30)
    if not lines or not lines[-1].startswith("done"):
        raise RuntimeError(f"guess_sampler ended early: {lines[-3:]}")
    return Hold(slot, button, seconds, _parse(lines))

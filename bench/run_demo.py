#!/usr/bin/env python3
"""Plays one whole game of quor6 by itself under a private Xvfb and Wine and films the tray:
an animated GIF of the game and a still of each kind of verdict. scripts/demo builds
everything first and hands over the paths; run that instead."""

import argparse
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path[:0] = [str(HERE), str(HERE.parent / "tests" / "e2e")]

from demo.filmstrip import Filmstrip  # noqa: E402  (needs the path above)
from demo.game import DemoGame, save_stills  # noqa: E402
from demo.tray_reading import TrayCells  # noqa: E402
from harness.tray import SLOTS  # noqa: E402
from measure.wine_world import (POINTER_PARK, START_TIMEOUT, add_arguments,  # noqa: E402
                                close_program, wine_world)
from measure.x11_snapshot import ScreenReader  # noqa: E402


def say(message: str) -> None:
    print(f"demo: {message}", flush=True)


def arguments() -> argparse.Namespace:
    parser = argparse.ArgumentParser(description=__doc__)
    add_arguments(parser)
    parser.add_argument("--out", type=Path, required=True, help="where the pictures go")
    return parser.parse_args()


def main() -> int:
    args = arguments()
    args.out.mkdir(parents=True, exist_ok=True)
    with wine_world(args, keep_desktop=False) as world, \
            ScreenReader(world.env["DISPLAY"]) as screen:
        world.player.move_to(*POINTER_PARK)
        program = world.launch()
        tray = world.find_tray(START_TIMEOUT)
        say(f"quor6.exe runs; the tray is at {tray.x},{tray.y}")
        film = Filmstrip(SLOTS * tray.cell, tray.cell)
        game = DemoGame(world, TrayCells(world.tray, screen, tray), film, say)
        answer = game.play()
        say(f"solved {answer} with guess {game.count}")
        gif = args.out / "demo.gif"
        frames = film.write_gif(gif)
        say(f"wrote {gif} ({frames} frames, {gif.stat().st_size:,} bytes)")
        for still in save_stills(game, film, args.out):
            say(f"wrote {still} ({still.stat().st_size:,} bytes)")
        close_program(world, "quor6.exe", program)
    say("done: Xvfb, wineserver and every Wine process of the demo ended")
    return 0


if __name__ == "__main__":
    sys.exit(main())

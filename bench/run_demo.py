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
from demo.probe_client import Probe  # noqa: E402
from demo.tray_reading import SLOTS, TrayReading  # noqa: E402
from measure.startup import find_tray  # noqa: E402
from measure.wine_world import WineSetup, WineWorld  # noqa: E402
from measure.x11_snapshot import ScreenReader  # noqa: E402


def say(message: str) -> None:
    print(f"demo: {message}", flush=True)


def arguments() -> argparse.Namespace:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--tree", type=Path, required=True,
                        help="the build tree whose quor6.exe and probe.exe run here")
    WineSetup.add_arguments(parser)
    parser.add_argument("--icons", type=Path, required=True, help="resources/icons")
    parser.add_argument("--out", type=Path, required=True, help="where the pictures go")
    return parser.parse_args()


def main() -> int:
    args = arguments()
    setup = WineSetup.from_arguments(args)
    args.out.mkdir(parents=True, exist_ok=True)
    with WineWorld(setup, keep_desktop=False) as world, ScreenReader(world.display) as screen:
        world.run("xdotool", "mousemove", "1000", "750")
        program = world.launch(str(args.tree / "quor6.exe"))
        area = find_tray(world)
        say(f"quor6.exe runs; the tray is at {area.x},{area.y}")
        tray = TrayReading(screen, area, args.icons)
        film = Filmstrip(SLOTS * area.cell, area.cell)
        probe = Probe(world, args.tree / "tests/e2e/probe.exe")
        game = DemoGame(world, probe, tray, film, say)
        answer = game.play()
        say(f"solved {answer} with guess {game.count}")
        gif = args.out / "demo.gif"
        frames = film.write_gif(gif)
        say(f"wrote {gif} ({frames} frames, {gif.stat().st_size:,} bytes)")
        for still in save_stills(game, film, args.out):
            say(f"wrote {still} ({still.stat().st_size:,} bytes)")
        world.close_program("quor6.exe", program)
    say("done: Xvfb, wineserver and every Wine process of the demo ended")
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Loads the end-to-end tests of suite/ and runs them; tests/e2e/run sets the scene first.

Usage: run_suite.py [name filter]   (a substring of the test names to run, e.g. "quit")"""

import signal
import sys
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
SUITE = HERE / "suite"
HARNESS_TESTS = HERE / "harness_tests"  # the harness's own checks, run first: no Wine needed
sys.path[:0] = [str(HERE), str(SUITE)]

from harness import processes, runner  # noqa: E402  (needs the path above)
from harness.config import Config  # noqa: E402
from harness.session import GameSession  # noqa: E402


def warm_up(config: Config) -> None:
    """Plays the first start of a fresh machine once before the tests: it has been seen to
    take Wine over 30 s (nothing on screen, even the probe waiting), later starts a few."""
    session = GameSession(config, "e2e.warm-up")
    started = time.monotonic()
    try:
        session.start()
        session.launch()
        session.find_tray(timeout=240)
        print(f"e2e: warm-up: Wine showed the tray after {time.monotonic() - started:.1f} s",
              flush=True)
    except Exception as error:  # the tests that follow report what is wrong
        print(f"e2e: warm-up did not finish: {error}", flush=True)
    finally:
        session.close()


def interrupt(signal_number, frame):
    raise KeyboardInterrupt(f"signal {signal_number}")


def main(argv) -> int:
    config = Config.from_environment()
    processes.clear_leftovers(config.scratch)
    suite = unittest.TestSuite()
    for directory in (HARNESS_TESTS, SUITE):
        loader = unittest.TestLoader()
        if len(argv) > 1:
            loader.testNamePatterns = [f"*{argv[1]}*"]
        suite.addTests(loader.discover(str(directory), pattern="test_*.py",
                                       top_level_dir=str(directory)))
    # A test's own cleanup does not run when the run is interrupted; this does.
    signal.signal(signal.SIGTERM, interrupt)
    try:
        warm_up(config)
        return 0 if runner.run(suite) else 1
    finally:
        processes.clear_leftovers(config.scratch)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

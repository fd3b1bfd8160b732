#!/usr/bin/env python3
"""Loads the end-to-end tests and runs them; tests/e2e/run sets the scene first. Prints one
line per test and the summary line that scripts/test reads.

Usage: run_suite.py [name filter]   (a substring of the test names to run, e.g. "quit")"""

import signal
import sys
import time
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

from harness import processes  # noqa: E402  (needs the path above)
from harness.config import Config  # noqa: E402
from harness.session import GameSession  # noqa: E402


class LineResult(unittest.TestResult):
    """One line per test with its time; a failure's traceback indented below it."""

    def __init__(self):
        super().__init__()
        self.passed, self.started = 0, time.monotonic()

    def startTest(self, test):
        super().startTest(test)
        self.started = time.monotonic()

    def report(self, verdict: str, test, err=None) -> None:
        print(f"{verdict} {test.id()} ({time.monotonic() - self.started:.1f} s)", flush=True)
        detail = self._exc_info_to_string(err, test) if err else ""
        print("".join("    " + row + "\n" for row in detail.rstrip().splitlines()), end="")

    def addSuccess(self, test):
        self.passed += 1
        self.report("PASS", test)

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self.report("FAIL", test, err)

    def addError(self, test, err):
        super().addError(test, err)
        self.report("ERROR", test, err)

    def addSubTest(self, test, subtest, err):
        super().addSubTest(test, subtest, err)
        if err is not None:
            self.report("FAIL", subtest, err)


def warm_up(config: Config) -> None:
    """Plays the first start of a fresh machine once before the tests: it has been seen to
    take Wine over 30 s (nothing on screen, even the probe waiting), later starts a few."""
    session, started = GameSession(config, "warm-up"), time.monotonic()
    try:
        session.start()
        session.launch()
        session.find_tray(timeout=240)
        print(f"e2e: warm-up: Wine showed the tray after {time.monotonic() - started:.1f} s")
    except Exception as error:  # the tests that follow report what is wrong
        print(f"e2e: warm-up did not finish: {error}")
    finally:
        session.close()


def interrupt(signal_number, frame):
    raise KeyboardInterrupt(f"signal {signal_number}")


def main(argv) -> int:
    config = Config.from_environment()
    processes.clear_leftovers(config.scratch)
    loader = unittest.TestLoader()
    if len(argv) > 1:
        loader.testNamePatterns = [f"*{argv[1]}*"]
    # The harness's own checks first: they need no Wine.
    suite = unittest.TestSuite(loader.discover(str(folder), top_level_dir=str(folder))
                               for folder in (HERE / "harness_tests", HERE / "suite"))
    signal.signal(signal.SIGTERM, interrupt)  # a test's cleanup runs when the run is ended
    result, interrupted = LineResult(), 0
    try:
        warm_up(config)
        suite.run(result)
    except KeyboardInterrupt as reason:
        print(f"INTERRUPTED ({reason})")
        interrupted = 1
    finally:
        processes.clear_leftovers(config.scratch)
    failed = len(result.failures) + len(result.errors) + interrupted
    print(f"e2e: {result.passed} passed, {failed} failed", flush=True)
    return 0 if failed == 0 and result.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))

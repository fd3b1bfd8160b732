#!/usr/bin/env python3
"""Loads the end-to-end tests of suite/ and runs them; tests/e2e/run sets the scene first.

Usage: run_suite.py [name filter]   (a substring of the test names to run, e.g. "quit")"""

import shutil
import sys
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
SUITE = HERE / "suite"
sys.path[:0] = [str(HERE), str(SUITE)]

from harness import processes, runner  # noqa: E402  (needs the path above)
from harness.config import Config  # noqa: E402


def clear_leftovers(scratch: Path) -> None:
    """A run that was killed leaves prefixes, and maybe their processes, behind."""
    if not scratch.is_dir():
        return
    for old in scratch.iterdir():
        processes.kill_pids(processes.pids_of_prefix(old / "prefix"))
        shutil.rmtree(old, ignore_errors=True)


def main(argv) -> int:
    config = Config.from_environment()
    clear_leftovers(config.scratch)
    loader = unittest.TestLoader()
    if len(argv) > 1:
        loader.testNamePatterns = [f"*{argv[1]}*"]
    suite = loader.discover(str(SUITE), pattern="test_*.py", top_level_dir=str(SUITE))
    return 0 if runner.run(suite) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""Runs the suite and reports one line per test and the summary line that scripts/test reads."""

import sys
import time
import unittest


class LineResult(unittest.TestResult):
    def __init__(self, stream):
        super().__init__()
        self._stream = stream
        # A failing class fixture is reported without a test of its own: its time runs from
        # the end of the test before it, or from the start of the run.
        self._started = time.monotonic()
        self.passed = 0
        self.current = None

    def startTest(self, test):
        super().startTest(test)
        self.current = test
        self._started = time.monotonic()

    def stopTest(self, test):
        super().stopTest(test)
        self._started = time.monotonic()

    def _report(self, verdict: str, test, detail: str = "") -> None:
        seconds = time.monotonic() - self._started
        line = f"{verdict} {test.id()} ({seconds:.1f} s)"
        self._stream.write(line + "\n")
        if detail:
            self._stream.write("".join("    " + row + "\n" for row in detail.rstrip().splitlines()))
        self._stream.flush()

    def addSuccess(self, test):
        super().addSuccess(test)
        self.passed += 1
        self._report("PASS", test)

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._report("FAIL", test, self._exc_info_to_string(err, test))

    def addError(self, test, err):
        super().addError(test, err)
        self._report("ERROR", test, self._exc_info_to_string(err, test))

    def addSkip(self, test, reason):
        super().addSkip(test, reason)
        self._report("SKIP", test, reason)


def run(suite: unittest.TestSuite) -> bool:
    result = LineResult(sys.stdout)
    interrupted = 0
    try:
        suite.run(result)
    except KeyboardInterrupt as reason:
        where = result.current.id() if result.current else "before the first test"
        print(f"INTERRUPTED {where} ({reason})", flush=True)
        interrupted = 1
    failed = len(result.failures) + len(result.errors) + interrupted
    print(f"e2e: {result.passed} passed, {failed} failed", flush=True)
    return failed == 0 and result.testsRun > 0

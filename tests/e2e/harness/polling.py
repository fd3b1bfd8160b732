"""Waiting for what the tests observe: poll with a timeout, never a bare sleep."""

import time
from typing import Callable, TypeVar

T = TypeVar("T")

# Generous: the suite must hold on a loaded two-core machine.
DEFAULT_TIMEOUT = 15.0


class WaitTimeout(AssertionError):
    """Raised as a test failure: the awaited observation never came."""


def wait_until(observe: Callable[[], T], accept: Callable[[T], bool], what: str,
               timeout: float = DEFAULT_TIMEOUT, interval: float = 0.1) -> T:
    """Observes until accept() holds and returns that observation."""
    deadline = time.monotonic() + timeout
    while True:
        seen = observe()
        if accept(seen):
            return seen
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:.0f} s waiting for {what}; last seen: {seen!r}")
        time.sleep(interval)


def wait_stable(observe: Callable[[], T], what: str, settle: float,
                timeout: float = DEFAULT_TIMEOUT, interval: float = 0.1) -> T:
    """Observes until the value has not changed for `settle` seconds and returns it.

    Used to show that something stopped, e.g. that a digit no longer steps after the release:
    a program that kept stepping every 700 ms would never settle for a whole second."""
    deadline = time.monotonic() + timeout
    value = observe()
    since = time.monotonic()
    while True:
        now = time.monotonic()
        if now - since >= settle:
            return value
        if now >= deadline:
            raise WaitTimeout(f"{what} never settled for {settle} s within {timeout:.0f} s; last seen: {value!r}")
        time.sleep(interval)
        seen = observe()
        if seen != value:
            value, since = seen, time.monotonic()

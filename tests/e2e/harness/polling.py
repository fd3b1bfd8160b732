"""Waiting for what the tests observe: poll with a timeout, never a bare sleep."""

import time
from typing import Callable, TypeVar

T = TypeVar("T")
DEFAULT_TIMEOUT = 15.0  # generous: the suite must hold on a loaded two-core machine


class WaitTimeout(AssertionError):
    """A test failure: the awaited observation never came."""


def wait_until(observe: Callable[[], T], accept: Callable[[T], bool], what: str,
               timeout: float = DEFAULT_TIMEOUT, interval: float = 0.1) -> T:
    deadline = time.monotonic() + timeout
    while not accept(seen := observe()):
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:.0f} s waiting for {what}; "
                              f"last seen: {seen!r}")
        time.sleep(interval)
    return seen


def wait_stable(observe: Callable[[], T], what: str, settle: float = 1.5,
                timeout: float = DEFAULT_TIMEOUT) -> T:
    """Observes until the value has not changed for `settle` seconds and returns it: shows
    that something stopped (a digit that still stepped every 700 ms would never settle)."""
    deadline = time.monotonic() + timeout
    value, since = observe(), time.monotonic()
    while time.monotonic() - since < settle:
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"{what} never settled for {settle} s; last seen: {value!r}")
        time.sleep(0.1)
        if (seen := observe()) != value:
            value, since = seen, time.monotonic()
    return value

"""Starting and ending the processes of a session (a test's, a bench or demo run's), by PID."""

import contextlib
import os
import select
import shutil
import signal
import subprocess
from pathlib import Path
from typing import IO, List, Optional, Tuple

SCREEN = "1024x768x24"  # depth 24: the tray pictures are compared pixel by pixel
# Every process of a session carries this variable, naming the session's directory (Wine passes
# it on to explorer and services too): whatever outlives a test can be found and ended by PID.
SESSION_MARK = "QUOR6_E2E_SESSION"


def start_xvfb(log: IO[bytes], env: dict, timeout: float = 15.0) -> Tuple[subprocess.Popen, str]:
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=log, stderr=log, env=env)
    os.close(write_end)
    # Xvfb writes the number once it accepts clients, then a newline.
    with os.fdopen(read_end, "rb", buffering=0) as numbers:
        ready, _, _ = select.select([numbers], [], [], timeout)
        number = numbers.readline() if ready else b""
    if not number.endswith(b"\n"):
        stop(server)
        raise RuntimeError("Xvfb did not report its display")
    return server, ":" + number.decode().strip()


def stop(process: Optional[subprocess.Popen], timeout: float = 5.0) -> None:
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()


def pids_of_session(directory: Path) -> List[int]:
    wanted, found = f"{SESSION_MARK}={directory}".encode(), []
    for entry in Path("/proc").glob("[0-9]*"):
        with contextlib.suppress(OSError):  # ended meanwhile, or not ours to read
            if wanted in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
    return found


def kill_pids(pids: List[int]) -> None:
    for pid in pids:
        with contextlib.suppress(ProcessLookupError):
            os.kill(pid, signal.SIGKILL)


def clear_leftovers(scratch: Path) -> None:
    """Ends, by PID, the processes of sessions that a killed run left, and removes their files."""
    for old in scratch.iterdir() if scratch.is_dir() else ():
        kill_pids(pids_of_session(old))
        shutil.rmtree(old, ignore_errors=True)

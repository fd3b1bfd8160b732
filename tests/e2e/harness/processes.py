"""Starting and ending the processes of a session (a test's, a bench or demo run's), by PID."""

import contextlib
import os
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path
from typing import IO, List, Optional, Tuple

SCREEN = "1024x768x24"  # depth 24: the tray pictures are compared pixel by pixel
# Every process of a session carries this variable, naming the session's directory, so that
# whatever outlives a test (or a killed run) can be found and ended by PID; Wine passes it on
# to every Windows process it starts, explorer and services included.
SESSION_MARK = "QUOR6_E2E_SESSION"


def start_xvfb(log: IO[bytes], env: dict, timeout: float = 15.0) -> Tuple[subprocess.Popen, str]:
    """Starts a private Xvfb on a display it picks itself; returns it and ":N"."""
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


def server_socket(prefix: Path) -> Path:
    """The socket of the prefix's wineserver. Debian's Wine names its server directory in the
    prefix's "wineserver" file, written when the server starts; upstream uses /tmp/.wine-UID."""
    info = prefix.stat()
    name_file = prefix / "wineserver"
    base = name_file.read_text().strip() if name_file.exists() else f".wine-{os.getuid()}"
    return Path("/tmp") / base / f"server-{info.st_dev:x}-{info.st_ino:x}" / "socket"


def start_wineserver(wineserver: Path, env: dict, prefix: Path, log: IO[bytes],
                     timeout: float = 15.0) -> subprocess.Popen:
    """Starts the prefix's own persistent server in the foreground, so that its PID is ours.
    It must come before any other Wine command: a server that a Wine command starts by itself
    quits seconds after its last client, and every next command pays a cold start."""
    server = subprocess.Popen([str(wineserver), "-f", "-p"], env=env, stdout=log, stderr=log)
    deadline = time.monotonic() + timeout
    while True:
        with contextlib.suppress(FileNotFoundError, PermissionError):
            if server_socket(prefix).is_socket():
                return server
        if server.poll() is not None or time.monotonic() > deadline:
            stop(server)
            raise RuntimeError(f"wineserver did not come up for {prefix}")
        time.sleep(0.05)


def stop(process: Optional[subprocess.Popen], timeout: float = 5.0) -> None:
    """Ends one process we started: SIGTERM, then SIGKILL if it does not go."""
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()


def pids_of_session(directory: Path) -> List[int]:
    """Linux processes whose environment marks them as the session's."""
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

"""Starting and ending the processes of one test (or one bench or demo run), always by PID."""

import os
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path
from typing import IO, List, Optional

SCREEN = "1024x768x24"  # depth 24: the tray pictures are compared pixel by pixel


# Every process of a session carries this variable, naming the session's directory, so that
# whatever outlives a test (or a killed run) can be found and ended by PID.
SESSION_MARK = "QUOR6_E2E_SESSION"


def start_xvfb(log: IO[bytes], env: dict, timeout: float = 15.0) -> "tuple[subprocess.Popen, str]":
    """Starts a private Xvfb on a display it picks itself; returns it and ":N"."""
    read_end, write_end = os.pipe()
    try:
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=log, stderr=log, env=env)
        os.close(write_end)
        write_end = -1
        number = b""
        deadline = time.monotonic() + timeout
        # Xvfb writes the number once it accepts clients, then a newline.
        while not number.endswith(b"\n"):
            left = deadline - time.monotonic()
            ready, _, _ = select.select([read_end], [], [], max(left, 0))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                stop(server)
                raise RuntimeError("Xvfb did not report its display")
            number += chunk
        return server, ":" + number.decode().strip()
    finally:
        os.close(read_end)
        if write_end >= 0:
            os.close(write_end)


def server_socket(prefix: Path) -> Path:
    """The socket of the prefix's wineserver. Debian's Wine names its server directory in the
    prefix's "wineserver" file, written when the server starts; upstream uses /tmp/.wine-UID."""
    info = prefix.stat()
    name_file = prefix / "wineserver"
    base = Path("/tmp") / (name_file.read_text().strip() if name_file.exists() else f".wine-{os.getuid()}")
    return base / f"server-{info.st_dev:x}-{info.st_ino:x}" / "socket"


def start_wineserver(wineserver: Path, env: dict, prefix: Path, log: IO[bytes],
                     timeout: float = 15.0) -> subprocess.Popen:
    """Starts the prefix's own persistent server in the foreground, so that its PID is ours.

    It must come before any other Wine command: a server that a Wine command starts by
    itself quits seconds after its last client, and every next command pays a cold start."""
    server = subprocess.Popen([str(wineserver), "-f", "-p"], env=env, stdout=log, stderr=log)
    deadline = time.monotonic() + timeout
    while True:
        try:
            if server_socket(prefix).is_socket():
                return server
        except (FileNotFoundError, PermissionError):
            pass
        if server.poll() is not None or time.monotonic() > deadline:
            stop(server)
            raise RuntimeError(f"wineserver did not come up for {prefix}")
        time.sleep(0.05)


def stop(process: Optional[subprocess.Popen], timeout: float = 5.0) -> None:
    """Ends one process we started: SIGTERM, then SIGKILL if it does not go."""
    if process is None or process.poll() is not None:
        return
    process.send_signal(signal.SIGTERM)
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout)


def pids_of_session(directory: Path) -> List[int]:
    """Linux processes marked with the session: Xvfb, the wineserver, and every Windows
    process of the prefix, including those Wine started on its own (explorer, services)."""
    return marked_pids(SESSION_MARK, directory)


def marked_pids(mark: str, directory: Path) -> List[int]:
    """Linux processes whose environment has mark=directory. Wine passes the variable on to
    every Windows process it starts, so one mark finds a whole prefix's processes."""
    wanted = f"{mark}={directory}".encode()
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            variables = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if wanted in variables:
            found.append(int(entry.name))
    return found


def clear_leftovers(scratch: Path) -> None:
    """Ends, by PID, the processes of sessions that a killed run left, and removes their files."""
    if not scratch.is_dir():
        return
    for old in scratch.iterdir():
        kill_pids(pids_of_session(old))
        shutil.rmtree(old, ignore_errors=True)


def kill_pids(pids: List[int]) -> None:
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

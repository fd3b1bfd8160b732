"""Starting and ending the Linux processes of a WineWorld, always by PID.

Every process the world starts carries WORLD_MARK=<its directory> in its environment, and
Wine passes it on to every Windows process of the prefix (explorer, services), so that all of
them can be found and ended, even after an interrupted run."""

import os
import select
import signal
import subprocess
import time
from pathlib import Path
from typing import IO, List, Optional

WORLD_MARK = "QUOR6_BENCH_WORLD"
SCREEN = "1024x768x24"  # the tray is read pixel by pixel; x11_snapshot expects 24 bits


def start_xvfb(env: dict, log: IO[bytes], timeout: float = 15.0) -> "tuple[subprocess.Popen, str]":
    """A private Xvfb on a display number it picks itself (-displayfd); returns it and ":N"."""
    read_end, write_end = os.pipe()
    try:
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
            pass_fds=(write_end,), env=env, stdout=log, stderr=log)
        os.close(write_end)
        write_end = -1
        reported = b""
        deadline = time.monotonic() + timeout
        while not reported.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(deadline - time.monotonic(), 0))
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                stop(server)
                raise RuntimeError("Xvfb did not report its display")
            reported += chunk
        return server, ":" + reported.decode().strip()
    finally:
        os.close(read_end)
        if write_end >= 0:
            os.close(write_end)


def _server_socket(prefix: Path) -> Path:
    # Debian's Wine keeps its server directory under the /tmp name written to the prefix's
    # "wineserver" file when the server starts; upstream Wine uses /tmp/.wine-UID.
    info = prefix.stat()
    name_file = prefix / "wineserver"
    base = name_file.read_text().strip() if name_file.exists() else f".wine-{os.getuid()}"
    return Path("/tmp") / base / f"server-{info.st_dev:x}-{info.st_ino:x}" / "socket"


def start_wineserver(wineserver: Path, env: dict, prefix: Path, log: IO[bytes],
                     timeout: float = 15.0) -> subprocess.Popen:
    """The prefix's own persistent server, in the foreground so that its PID is ours. It comes
    first: a server that a Wine command starts by itself quits seconds after its last client."""
    server = subprocess.Popen([str(wineserver), "-f", "-p"], env=env, stdout=log, stderr=log)
    deadline = time.monotonic() + timeout
    while True:
        try:
            if _server_socket(prefix).is_socket():
                return server
        except OSError:
            pass
        if server.poll() is not None or time.monotonic() > deadline:
            stop(server)
            raise RuntimeError(f"wineserver did not come up for {prefix}")
        time.sleep(0.05)


def stop(process: Optional[subprocess.Popen], timeout: float = 5.0) -> None:
    """SIGTERM to one process we started, SIGKILL if it does not go."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout)


def marked_pids(directory: Path) -> List[int]:
    wanted = f"{WORLD_MARK}={directory}".encode()
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if wanted in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
        except OSError:
            continue  # gone, or not ours to read
    return found


def kill_pids(pids: List[int]) -> None:
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass

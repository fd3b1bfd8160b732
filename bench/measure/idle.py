"""Idle cost: the CPU time a running program's Wine process uses while nobody touches it."""

import os
import time
from dataclasses import dataclass
from pathlib import Path


@dataclass(frozen=True)
class CpuReading:
    ticks: int  # utime + stime from /proc/<pid>/stat, all threads, in clock ticks
    run_ns: int  # the sum of every thread's time on a CPU from /proc/<pid>/task/*/schedstat

    @staticmethod
    def of(pid: int) -> "CpuReading":
        stat = Path(f"/proc/{pid}/stat").read_text()
        # The command name may hold spaces; the fields after it do not.
        fields = stat[stat.rindex(")") + 2:].split()
        utime, stime = int(fields[11]), int(fields[12])
        run_ns = 0
        for task in Path(f"/proc/{pid}/task").iterdir():
            try:
                run_ns += int((task / "schedstat").read_text().split()[0])
            except (OSError, IndexError, ValueError):
                pass  # a thread that ended meanwhile
        return CpuReading(utime + stime, run_ns)


def process_name(pid: int) -> str:
    return Path(f"/proc/{pid}/comm").read_text().strip()


def tick_ms() -> float:
    return 1000.0 / os.sysconf("SC_CLK_TCK")


@dataclass(frozen=True)
class IdleCost:
    seconds: float
    before: CpuReading
    after: CpuReading

    @property
    def stat_ms(self) -> float:
        return (self.after.ticks - self.before.ticks) * tick_ms()

    @property
    def schedstat_ms(self) -> float:
        return (self.after.run_ns - self.before.run_ns) / 1e6


def measure(pid: int, seconds: float) -> IdleCost:
    before = CpuReading.of(pid)
    started = time.monotonic()
    time.sleep(seconds)
    after = CpuReading.of(pid)
    return IdleCost(time.monotonic() - started, before, after)


def private_kib(pid: int) -> int:
    """The memory that only this process holds (its private clean and dirty pages, as
    /proc/<pid>/smaps_rollup counts them), in KiB."""
    fields = {}
    for line in Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines()[1:]:
        name, value = line.split(":", 1)
        fields[name] = int(value.split()[0])
    return fields["Private_Clean"] + fields["Private_Dirty"]

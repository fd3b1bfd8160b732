"""Runs the Google Benchmark binary quor6_bench and reads its JSON report."""

import json
import subprocess
from dataclasses import dataclass
from pathlib import Path
from typing import Dict, List

from .stats import Summary, summarise

REPETITIONS = 5
MIN_TIME_S = 0.3


@dataclass(frozen=True)
class BenchResult:
    name: str
    time_ns: Summary  # over the repetitions
    iterations: int  # the fewest of any repetition
    library_build: str  # how the installed libbenchmark was built ("debug", "release")


def _to_ns(value: float, unit: str) -> float:
    return value * {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}[unit]


def run(binary: Path) -> List[BenchResult]:
    done = subprocess.run([str(binary), "--benchmark_format=json",
                           f"--benchmark_repetitions={REPETITIONS}",
                           f"--benchmark_min_time={MIN_TIME_S}"],
                          capture_output=True, text=True, check=True, timeout=600)
    report = json.loads(done.stdout)
    build = report.get("context", {}).get("library_build_type", "?")
    times: Dict[str, List[float]] = {}
    iterations: Dict[str, int] = {}
    for entry in report["benchmarks"]:
        if entry.get("run_type") != "iteration":
            continue  # the library's own aggregates; the summary is made here
        name = entry["run_name"]
        # Manual-time benchmarks report their own timing as real_time; for the others it is
        # the wall-clock time per iteration.
        times.setdefault(name, []).append(_to_ns(entry["real_time"], entry["time_unit"]))
        iterations[name] = min(iterations.get(name, entry["iterations"]), entry["iterations"])
    return [BenchResult(name, summarise(values), iterations[name], build)
            for name, values in times.items()]

"""The few statistics the bench reports."""

import statistics
from dataclasses import dataclass
from typing import Sequence


@dataclass(frozen=True)
class Summary:
    count: int
    median: float
    mean: float
    stdev: float  # sample standard deviation; 0 for a single value
    low: float
    high: float


def summarise(values: Sequence[float]) -> Summary:
    if not values:
        raise ValueError("nothing to summarise")
    return Summary(len(values), statistics.median(values), statistics.fmean(values),
                   statistics.stdev(values) if len(values) > 1 else 0.0, min(values), max(values))

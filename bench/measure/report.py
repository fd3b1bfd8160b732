"""Markdown for the bench's report: one table of results, then the raw figures behind them."""

from typing import Iterable, List, Sequence


def table(header: Sequence[str], rows: Iterable[Sequence[str]]) -> List[str]:
    def line(cells: Sequence[str]) -> str:
        return "| " + " | ".join(cell.replace("|", "\\|") for cell in cells) + " |"

    return [line(header), line(["---"] * len(header))] + [line(row) for row in rows]


def met(condition: bool) -> str:
    return "yes" if condition else "**no**"


def figures(values: Sequence[float], digits: int = 0) -> str:
    return ", ".join(f"{value:.{digits}f}" for value in values)

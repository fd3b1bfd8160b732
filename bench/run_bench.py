#!/usr/bin/env python3
"""Measures quor6 and prints the results as Markdown on stdout (progress goes to stderr).
scripts/bench builds everything first and hands over the paths; run that instead."""

import argparse
import datetime
import os
import platform
import subprocess
import sys
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
# The e2e harness starts the processes.
sys.path[:0] = [str(HERE), str(HERE.parent / "tests" / "e2e")]

from measure import idle, native, size, spin  # noqa: E402  (needs the path above)
from measure.report import figures, met, table  # noqa: E402
from measure.startup import SLOTS, Program, StartupTimer  # noqa: E402
from measure.stats import summarise  # noqa: E402
from measure.wine_world import add_arguments, close_program, wine_world  # noqa: E402
from measure.x11_snapshot import ScreenReader  # noqa: E402

SIZE_GOAL = 96 * 1024
STARTUP_GOAL = 1.2
IDLE_GOAL_MS = 10.0
IDLE_SECONDS = 30.0
IDLE_SETTLE = 1.0
STEP_GOAL_MS, STEP_TOLERANCE_MS = 700.0, 20.0
HOLD_SECONDS = 4.0
HOLDS = ((1, 1), (4, 3))  # slot 1 held with the left button (up), slot 4 with the right (down)


def progress(message: str) -> None:
    print(f"bench: {message}", file=sys.stderr, flush=True)


def arguments() -> argparse.Namespace:
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--product", type=Path, required=True, help="build/win/quor6.exe")
    add_arguments(parser)
    parser.add_argument("--native-bench", type=Path, help="quor6_bench, if it was built")
    parser.add_argument("--runs", type=int, default=15, help="start-ups timed per program")
    parser.add_argument("--repo", type=Path, default=HERE.parent,
                        help="paths in the report are shown relative to this")
    return parser.parse_args()


def shown_path(path: Path, repo: Path) -> str:
    try:
        return str(path.resolve().relative_to(repo.resolve()))
    except ValueError:
        return str(path)


def size_rows(product: Path, repo: Path):
    facts = size.inspect(product)
    shown = shown_path(product, repo)
    dlls = ", ".join(facts.dlls)
    foreign = facts.foreign_dlls
    yield ["1a", f"size of `{shown}` ({facts.pe_format}, {facts.machine})",
           f"{facts.size:,} bytes", f"<= {SIZE_GOAL:,} bytes", met(facts.size <= SIZE_GOAL),
           "`os.stat` of the linked file (icons, version record, manifest included)"]
    yield ["1b", "DLLs it imports", dlls, "only Windows system DLLs",
           met(not foreign) + ("" if not foreign else f" ({', '.join(foreign)})"),
           "`i686-w64-mingw32-objdump -p`, the `DLL Name:` lines"]


def measure_under_wine(args: argparse.Namespace):
    tree = args.tree
    quor6 = Program("quor6.exe", str(tree / "quor6.exe"), "quor6.exe")
    yardstick = Program("five_icons.exe", str(tree / "bench/five_icons.exe"), "five_icons.exe")
    sampler = str(tree / "bench/guess_sampler.exe")
    with wine_world(args) as world, ScreenReader(world.env["DISPLAY"]) as screen:
        timer = StartupTimer(world, screen)
        progress("Wine desktop up; warming up the tray")
        tray = timer.warm_up(yardstick)
        progress(f"timing {args.runs} start-ups of each program")
        times = timer.time_alternating(quor6, yardstick, args.runs)

        progress(f"idle: {IDLE_SECONDS:.0f} s without input")
        program = world.launch(quor6.path)
        timer.watch.wait_for(lambda shown: shown >= SLOTS, "quor6's icons", 60, 0.01)
        name = idle.process_name(program.pid)
        if name != "quor6.exe":
            raise RuntimeError(f"process {program.pid} is {name!r}, not quor6.exe")
        moved = timer.tray_moved(tray)
        time.sleep(IDLE_SETTLE)
        cost = idle.measure(program.pid, IDLE_SECONDS)
        memory = {"quor6.exe": idle.private_kib(program.pid)}

        holds = []
        for slot, button in HOLDS:
            progress(f"holding button {button} on slot {slot} for {HOLD_SECONDS:.0f} s")
            holds.append(spin.hold(world, sampler, tray, slot, button, HOLD_SECONDS))
            time.sleep(1.0)
        close_program(world, quor6.image_name, program)

        progress("idle memory of the five-icon program")
        program = world.launch(yardstick.path)
        timer.watch.wait_for(lambda shown: shown >= SLOTS, "the five icons", 60, 0.01)
        time.sleep(IDLE_SETTLE + IDLE_SECONDS)
        memory["five_icons.exe"] = idle.private_kib(program.pid)
        close_program(world, yardstick.image_name, program)
    return times, moved, cost, memory, holds


def startup_rows(args, times, moved):
    quor6 = summarise(times["quor6.exe"].five_icons)
    yardstick = summarise(times["five_icons.exe"].five_icons)
    ratio = quor6.median / yardstick.median
    tree = shown_path(args.tree, args.repo)
    yield ["2", f"start-up, `{tree}/quor6.exe` against `{tree}/bench/five_icons.exe`",
           f"{ratio:.2f}x (medians {quor6.median * 1000:.0f} ms / {yardstick.median * 1000:.0f} ms)",
           f"<= {STARTUP_GOAL}x", met(ratio <= STARTUP_GOAL),
           f"{quor6.count} runs each, alternating A B B A on one running Wine desktop; from "
           "`Popen` of the Wine loader to the first X GetImage of the \"Wine System Tray\" window "
           "showing five non-empty cells, polled every 2 ms; each program closed by WM_CLOSE "
           "(`taskkill`) and the tray empty again before the next start"
           + ("; **the tray window moved during the runs**" if moved else "")]


def idle_rows(cost: idle.IdleCost):
    yield ["3", "idle CPU time of the quor6.exe Wine process",
           f"{cost.stat_ms:.0f} ms in {cost.seconds:.1f} s (threads on CPU: {cost.schedstat_ms:.2f} ms)",
           f"< {IDLE_GOAL_MS:.0f} ms", met(cost.stat_ms < IDLE_GOAL_MS),
           f"utime+stime from `/proc/<pid>/stat` ({idle.tick_ms():.0f} ms ticks) read "
           f"{IDLE_SETTLE:.0f} s after the five icons showed and {IDLE_SECONDS:.0f} s later, pointer "
           "parked away from the tray; in brackets the sum of `/proc/<pid>/task/*/schedstat`"]


def memory_rows(memory):
    ratio = memory["quor6.exe"] / memory["five_icons.exe"]
    yield ["3b", "private memory while idle in the tray, quor6.exe against five_icons.exe",
           f"{ratio:.2f}x ({memory['quor6.exe']:,} KiB / {memory['five_icons.exe']:,} KiB)",
           "-", "-",
           "Private_Clean + Private_Dirty of `/proc/<pid>/smaps_rollup` of each program's Wine "
           f"process, read {IDLE_SETTLE + IDLE_SECONDS:.0f} s after its five icons showed "
           "(quor6 at the end of row 3's idle window); both are Wine processes, so Wine's own "
           "share is in both figures"]


def spin_rows(holds):
    intervals = [interval for one in holds for interval in one.intervals_ms]
    problems = [problem for one in holds for problem in one.problems()]
    if not intervals:
        yield ["4", "digit step period while a button is held", "**no steps seen**",
               f"{STEP_GOAL_MS:.0f} ms +- {STEP_TOLERANCE_MS:.0f} ms", met(False),
               "; ".join(problems) or "the guess did not change while the button was held"]
        return
    slack = max(change.slack_ms for one in holds for change in one.steps)
    steps = summarise(intervals)
    outside = sum(1 for value in intervals if abs(value - STEP_GOAL_MS) > STEP_TOLERANCE_MS)
    yield ["4", "digit step period while a button is held",
           f"mean {steps.mean:.1f} ms, sd {steps.stdev:.1f} ms, range {steps.low:.1f}-{steps.high:.1f} ms "
           f"({steps.count} intervals, {outside} outside the goal)",
           f"{STEP_GOAL_MS:.0f} ms +- {STEP_TOLERANCE_MS:.0f} ms",
           met(abs(steps.mean - STEP_GOAL_MS) <= STEP_TOLERANCE_MS and not problems)
           + " (the mean)",
           "xdotool holds the button on a tray icon for "
           f"{HOLD_SECONDS:.0f} s ({', '.join(f'slot {s} button {b}' for s, b in HOLDS)}); "
           "`guess_sampler.exe` asks Text1 (id 1001) for WM_GETTEXT every ~2 ms with "
           f"QueryPerformanceCounter times; each change is placed to within {slack:.1f} ms"
           + (f"; **unexpected steps: {'; '.join(problems)}**" if problems else "")]


def native_rows(results):
    for result in results:
        yield ["5", f"`{result.name}`",
               f"{result.time_ns.median:,.1f} ns (sd {result.time_ns.stdev:,.1f} ns)", "-", "-",
               f"Google Benchmark in the host build (`build/native`, RelWithDebInfo): median "
               f"over {result.time_ns.count} repetitions of at least {native.MIN_TIME_S} s "
               f"(>= {result.iterations:,} iterations each); Debian's libbenchmark reports "
               f"itself built as {result.library_build}"]


def main() -> int:
    args = arguments()
    started = time.monotonic()
    load = os.getloadavg()
    wine_version = subprocess.run([str(args.wine), "--version"], capture_output=True,
                                  text=True).stdout.strip()
    rows = list(size_rows(args.product, args.repo))
    times, moved, cost, memory, holds = measure_under_wine(args)
    rows += startup_rows(args, times, moved)
    rows += idle_rows(cost)
    rows += memory_rows(memory)
    rows += spin_rows(holds)
    if args.native_bench and args.native_bench.exists():
        progress("running the native Google Benchmark")
        rows += native_rows(native.run(args.native_bench))
    else:
        rows.append(["5", "native Google Benchmark", "not run: quor6_bench was not built "
                     "(libbenchmark-dev missing?)", "-", "-", "-"])

    run_by = ("32-bit Wine, `build/win`" if args.flavour == "win32" else
              "wine64 with the 64-bit build `build/win64`, because this host cannot run 32-bit "
              "processes (the size row is still the 32-bit product `build/win/quor6.exe`)")
    out = [
        "# quor6 bench",
        "",
        f"Measured by `scripts/bench` on {datetime.date.today().isoformat()}: "
        f"{platform.system()} {platform.release()}, {os.cpu_count()} cores, load average "
        f"{load[0]:.2f} {load[1]:.2f} {load[2]:.2f} at the start (the machine is shared, so "
        f"timings carry noise), {wine_version}; programs under Wine: {run_by}. Every figure "
        "comes from this one run.",
        "",
        *table(["#", "measure", "result", "goal", "met", "method"], rows),
        "",
        "## Raw figures",
        "",
    ]
    for label, timing in times.items():
        out += [f"Start-up of {label}, ms after launch, in run order: five icons "
                f"{figures([t * 1000 for t in timing.five_icons])}; first icon "
                f"{figures([t * 1000 for t in timing.first_icon])}", ""]
    out += [f"Idle: /proc/<pid>/stat utime+stime {cost.before.ticks} -> {cost.after.ticks} ticks; "
            f"schedstat {cost.before.run_ns:,} -> {cost.after.run_ns:,} ns", ""]
    for one in holds:
        out += [f"Slot {one.slot}, button {one.button}: guess "
                + " ".join(change.text for change in one.changes)
                + f"; intervals, ms: {figures(one.intervals_ms, 1)}", ""]
    out.append(f"Whole bench: {time.monotonic() - started:.0f} s after the build.")
    out.append("")
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())

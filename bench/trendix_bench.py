"""Speed of the Python module, printed as figures (not a test).

    scripts/python.sh bench/trendix_bench.py [--quick]

- AddTimeData called by name from Python, calls a second;
- append_time_data with numpy blocks, samples a second;
- set_series of 1,000,000 points plus render to a 1600 x 1000 PNG, milliseconds.

Each figure is the best of a few repeats of the process's CPU time (time.process_time), as
other work on a shared machine slows the wall clock down; the wall-clock figure follows it.
"""

import argparse
import os
import tempfile
import time

os.environ.setdefault("QT_QPA_PLATFORM", "offscreen")

import numpy as np  # noqa: E402

import trendix  # noqa: E402


def live_control(variables, buffer):
    c = trendix.Control()
    c.RunPlot = True
    c.nvariables = variables
    c.BufferSize = buffer
    c.TimeWindow = 100.0
    return c


class Clock:
    """CPU and wall time of one run."""

    def __enter__(self):
        self.cpu, self.wall = time.process_time(), time.perf_counter()
        return self

    def __exit__(self, *exc):
        self.cpu = time.process_time() - self.cpu
        self.wall = time.perf_counter() - self.wall


def best_of(repeats, run):
    """The least CPU and the least wall time of repeated runs; run answers its Clock."""
    clocks = [run() for _ in range(repeats)]
    return min(c.cpu for c in clocks), min(c.wall for c in clocks)


def add_time_data_by_name(calls):
    c = live_control(4, 1 << 16)
    now = [0.0]  # time goes on from run to run, as a live feed's does

    def run():
        t = now[0]
        with Clock() as clock:
            for i in range(calls):
                c.AddTimeData(1, t, 0.5)
                t += 0.001
        now[0] = t
        return clock

    cpu, wall = best_of(3, run)
    return calls / cpu, calls / wall


def append_time_data_blocks(total, rows, variables, buffer=1 << 18):
    c = live_control(variables, buffer)
    blocks = max(1, total // (rows * variables))
    values = np.random.default_rng(1).normal(size=(rows, variables))
    steps = np.arange(rows, dtype=np.float64) * 1e-3

    # The rings filled once over first, as in a feed that has run a while.
    t0 = 0.0
    for _ in range(buffer // rows + 1):
        c.append_time_data(steps + t0, values)
        t0 += rows * 1e-3
    now = [t0]
    times = [steps + b * rows * 1e-3 for b in range(blocks)]

    def run():
        with Clock() as clock:
            for t in times:
                c.append_time_data(t + now[0], values)
        now[0] += blocks * rows * 1e-3
        return clock

    cpu, wall = best_of(3, run)
    samples = blocks * rows * variables
    return samples / cpu, samples / wall


def million_points_to_png(points):
    x = np.linspace(0.0, 100.0, points)
    y = np.sin(x) + 0.05 * np.random.default_rng(2).standard_normal(points)
    c = trendix.Control(1600, 1000)
    c.Title = "A million samples"
    c.DisplayType = 0  # lines, as a line plot draws them; no marker at every sample
    with tempfile.TemporaryDirectory() as out:
        path = os.path.join(out, "million.png")
        c.render(path)  # the Qt application and fonts once, as a session does

        def run():
            with Clock() as clock:
                c.set_series(1, x, y)
                c.render(path)
            return clock

        cpu, wall = best_of(5, run)
        return cpu * 1e3, wall * 1e3


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quick", action="store_true", help="smaller runs")
    args = parser.parse_args()
    scale = 10 if args.quick else 1

    cpu, wall = add_time_data_by_name(2_000_000 // scale)
    print(f"AddTimeData by name: {cpu / 1e6:.2f} million calls/s of CPU time "
          f"({wall / 1e6:.2f} by the wall clock; target 1.0)")
    for variables in (8, 16):
        cpu, wall = append_time_data_blocks(200_000_000 // scale, 10_000, variables)
        print(f"append_time_data, blocks of 10,000 x {variables}: {cpu / 1e6:.0f} million "
              f"samples/s of CPU time ({wall / 1e6:.0f} by the wall clock; target 50)")
    cpu, wall = million_points_to_png(1_000_000)
    print(f"set_series 1,000,000 points + render 1600 x 1000 PNG: {cpu:.1f} ms of CPU time "
          f"({wall:.1f} ms by the wall clock; target < 60)")


if __name__ == "__main__":
    main()

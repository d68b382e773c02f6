"""A million-point numpy series rendered to PNG.

    scripts/python.sh examples/python/million_points.py [OUT.png]
"""

import sys
import time

import numpy as np

import trendix


def main(path):
    x = np.linspace(0.0, 100.0, 1_000_000)
    rng = np.random.default_rng(7)
    y = np.sin(x) * np.exp(-x / 60.0) + 0.05 * rng.standard_normal(x.size)

    c = trendix.Control(1600, 1000)
    c.Title = "A million samples"
    c.xlabel = "Time (s)"
    c.ylabel = "Signal"
    c.DisplayType = 0  # lines only: a marker at each of a million samples would hide the curve
    start = time.perf_counter()
    c.set_series(1, x, y)
    c.render(path)
    elapsed = time.perf_counter() - start
    print(f"wrote {path}: set_series and render of {x.size:,} points in {elapsed * 1e3:.0f} ms")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "million.png")

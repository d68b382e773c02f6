"""A simulated process streamed live into a run plot in a window.

    scripts/python.sh examples/python/live_process.py [--seconds N]

Three temperatures of a column follow a set point that steps now and then; the samples go to
the control a block at a time while the window stays responsive. Closing the window ends the
run; without --seconds it runs until then. Clicking the plot prints where.
"""

import argparse
import time

import numpy as np

import trendix


class Column:
    """First-order responses of three trays to a stepping set point, with noise."""

    def __init__(self, seed=3):
        self.rng = np.random.default_rng(seed)
        self.state = np.array([60.0, 78.0, 93.0])
        self.gain = np.array([1.0, 0.6, 0.3])
        self.tau = np.array([2.0, 4.0, 8.0])
        self.set_point = 0.0
        self.t = 0.0

    def block(self, steps, dt):
        """The next `steps` samples: times of shape (steps,), values of shape (steps, 3)."""
        times = self.t + dt * np.arange(1, steps + 1)
        values = np.empty((steps, 3))
        for i in range(steps):
            if self.rng.random() < 0.01:
                self.set_point = self.rng.uniform(-5.0, 5.0)
            target = np.array([60.0, 78.0, 93.0]) + self.gain * self.set_point
            self.state += (target - self.state) * dt / self.tau
            values[i] = self.state + self.rng.normal(0.0, 0.05, 3)
        self.t = times[-1]
        return times, values


class Handler:
    """Events of the control, by name."""

    def OnClick(self, x, y, ix, iy, object_id, modifier):
        print(f"clicked at t = {x:.2f}, value = {y:.2f}")

    def OnZoomed(self, on):
        print("zoomed" if on else "zoom off")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seconds", type=float, default=None, help="stop after this long")
    args = parser.parse_args()

    c = trendix.Control()
    c.RunPlot = True
    c.nvariables = 3
    c.TimeWindow = 30
    c.TimeScrollUnit = 5
    c.Title = "Column temperatures"
    c.xlabel = "Time (min)"
    for var, name in enumerate(["Top", "Middle", "Bottom"], start=1):
        c.SetLegend(var, name)
    c.ShowLegend = True
    c.connect(Handler())

    view = trendix.View(c, 900, 560, title="Live column")
    column = Column()
    start = time.monotonic()
    blocks = 0
    while view.is_open:
        if args.seconds is not None and time.monotonic() - start > args.seconds:
            break
        c.append_time_data(*column.block(steps=10, dt=0.02))
        blocks += 1
        view.process_events(20)
    times, top = c.get_series(1)
    print(f"{blocks} blocks, {top.size} samples of the top tray kept, last at t = {times[-1]:.2f}")
    view.close()


if __name__ == "__main__":
    main()

"""A ternary plot of methanol, water and ethanol written to SVG.

    scripts/python.sh examples/python/ternary_svg.py [OUT.svg]

x is read along the base, y along the right side and z = 1 - x - y along the left side.
"""

import sys

import numpy as np

import trendix


def residue_curve(n=40):
    """A smooth path from the ethanol corner towards methanol."""
    s = np.linspace(0.0, 1.0, n)
    x = 0.05 + 0.85 * s
    y = 0.90 * (1.0 - s) ** 1.6 + 0.04 * s
    return x, y


def two_phase_region(n=60):
    """A closed outline around a point of the triangle."""
    a = np.linspace(0.0, 2.0 * np.pi, n)
    return 0.30 + 0.15 * np.cos(a), 0.35 + 0.15 * np.sin(a)


def main(path):
    c = trendix.Control(800, 620)
    c.PlotType = 2  # equilateral triangle
    c.nxvariables = 2
    c.nvariables = 2
    c.Title = "Methanol, water and ethanol at 1 bar"
    c.xlabel = "Methanol"
    c.SetLabel(1, "Water")
    c.SetLabel(2, "Ethanol")
    c.ShowLegend = True
    c.SetAttribute(0, 0, 12, 2)  # solid green outline, no marker
    c.SetAttribute(1, 0, 3, 1)  # solid blue line with diamonds
    c.SetLegend(1, "Two-phase region")
    c.SetLegend(2, "Residue curve")
    c.set_series(1, *two_phase_region())
    c.set_series(2, *residue_curve())
    c.render(path)
    print(f"wrote {path}")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "ternary.svg")

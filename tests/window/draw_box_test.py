#!/usr/bin/python3
"""Draws a box with the drawing toolbar in a real X window (under xvfb-run) with xdotool, as a
user does:

  1. trendix-view starts with its drawing toolbar; a click on the box tool arms it;
  2. a drag in the plot draws the box: the host hears Modified, the control holds one shape
     and the picture shows the box's sides where the drag went while the plot away from it is
     as before; the tool is spent, so the box is not selected yet;
  3. a click inside the box selects it: its handles show at its corners;
  4. a click beside the box deselects it: the handles go, the box stays.

usage: draw_box_test.py TRENDIX_VIEW EXAMPLE OUTPUT_DIR
Exit code 0 passed, 1 failed. Shares its helpers with window_test.py; screenshots are kept in
OUTPUT_DIR.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_test import Failure, check, drag, drive, xdo  # noqa: E402

BOX_TOOL = 56015


def shapes(view):
    """(count, selected) of the control's drawn shapes."""
    answer = view.command(".shapes").split()
    if answer[0] != "=":
        raise Failure(".shapes answered %r" % answer)
    return int(answer[1]), int(answer[2])


def draw_box(view, screen, client):
    x, y, w, h = client
    rest = (x + w // 2, y + h - 5)  # where the pointer waits for screenshots
    xdo("mousemove", str(rest[0]), str(rest[1]))
    time.sleep(0.5)
    first = screen.grab("first")
    check(shapes(view) == (0, 0), "the plot starts without shapes")

    # 1. The box tool from the toolbar.
    answer = view.command(".tool %d" % BOX_TOOL).split()
    check(answer[0] == "=", "the toolbar shows the box tool (%s)" % " ".join(answer))
    bx, by = int(answer[1]), int(answer[2])
    check(not (x <= bx < x + w and y <= by < y + h), "the toolbar lies outside the plot")
    xdo("mousemove", str(bx), str(by))
    xdo("click", "1")
    time.sleep(0.3)

    # 2. The drag draws the box from its first corner to the second.
    left, top, right, bottom = x + w // 3, y + h // 3, x + w // 2, y + h // 2
    mark = len(view.events())
    drag(left, top, right, bottom)
    view.wait_event("Modified", mark)
    xdo("mousemove", str(rest[0]), str(rest[1]))
    time.sleep(0.4)
    drawn = screen.grab("drawn")
    check(shapes(view) == (1, 0), "one shape is drawn, not selected")
    middle_x, middle_y = (left + right) // 2, (top + bottom) // 2
    sides = {
        "top": (middle_x - 10, top - 3, 20, 7),
        "bottom": (middle_x - 10, bottom - 3, 20, 7),
        "left": (left - 3, middle_y - 10, 7, 20),
        "right": (right - 3, middle_y - 10, 7, 20),
    }
    for name, rect in sorted(sides.items()):
        check(drawn.differing(first, rect) > 0.1, "the box's %s side is drawn" % name)
    away = (x + 2 * w // 3 + 10, y + 2 * h // 3, w // 6, h // 8)
    check(drawn.differing(first, away) < 0.01, "the plot away from the box is as before")
    corner = (left - 4, top - 4, 9, 9)

    # 3. A click inside the box selects it: the corner handle shows.
    xdo("mousemove", str(middle_x), str(middle_y))
    xdo("click", "1")
    xdo("mousemove", str(rest[0]), str(rest[1]))
    time.sleep(0.4)
    selected = screen.grab("selected")
    check(shapes(view) == (1, 1), "the click inside the box selects it")
    check(selected.differing(drawn, corner) > 0.05, "the corner handle shows")

    # 4. A click on empty plot beside the box: deselected, the corner handle goes.
    xdo("mousemove", str(x + 2 * w // 3), str(y + h // 3))
    xdo("click", "1")
    xdo("mousemove", str(rest[0]), str(rest[1]))
    time.sleep(0.4)
    released = screen.grab("released")
    check(shapes(view) == (1, 0), "the click beside the box deselects it")
    check(released.differing(drawn, corner) < 0.02, "the corner handle goes with the selection")
    check(released.differing(first, sides["top"]) > 0.1, "the box stays drawn")


if __name__ == "__main__":
    sys.exit(drive(draw_box, options=("--toolbar",), exact_size=False))

#!/usr/bin/python3
"""Draws a box with the drawing toolbar in a real X window (under xvfb-run) with xdotool, as a
user does:

  1. trendix-view starts with its drawing toolbar; a click on the box tool arms it;
  2. a drag in the plot draws the box: the host hears Modified, the control holds one shape
     and the picture shows the box's sides where the drag went while the plot away from it is
     as before; the tool is spent, so the box is not selected yet;
  3. a click inside the box selects it: its handles show at its corners;
  4. a click beside the box deselects it: the handles go, the box stays;
  5. the polygon tool draws a triangle click by click, finished by a right click;
  6. a band round both selects them, and "&Group" of their menu makes one path that draws as
     they did; the key l turns it a quarter to the left.

usage: draw_box_test.py TRENDIX_VIEW EXAMPLE OUTPUT_DIR
Exit code 0 passed, 1 failed. Shares its helpers with window_test.py; screenshots are kept in
OUTPUT_DIR.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_test import Failure, check, drag, drive, grab_at_rest, xdo  # noqa: E402

BOX_TOOL = 56015
POLYGON_TOOL = 56017


def shapes(view):
    """(count, selected) of the control's drawn shapes."""
    answer = view.command(".shapes").split()
    if answer[0] != "=":
        raise Failure(".shapes answered %r" % answer)
    return int(answer[1]), int(answer[2])


def draw_box(view, screen, client):
    x, y, w, h = client
    rest = (x + w // 2, y + h - 5)  # where the pointer waits for screenshots
    first = grab_at_rest(screen, rest, "first", 0.5)
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
    drawn = grab_at_rest(screen, rest, "drawn")
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
    selected = grab_at_rest(screen, rest, "selected")
    check(shapes(view) == (1, 1), "the click inside the box selects it")
    check(selected.differing(drawn, corner) > 0.05, "the corner handle shows")

    # 4. A click on empty plot beside the box: deselected, the corner handle goes.
    xdo("mousemove", str(x + 2 * w // 3), str(y + h // 3))
    xdo("click", "1")
    released = grab_at_rest(screen, rest, "released")
    check(shapes(view) == (1, 0), "the click beside the box deselects it")
    check(released.differing(drawn, corner) < 0.02, "the corner handle goes with the selection")
    check(released.differing(first, sides["top"]) > 0.1, "the box stays drawn")

    # 5. A triangle with the polygon tool: three clicks, then a right click ends it.
    answer = view.command(".tool %d" % POLYGON_TOOL).split()
    check(answer[0] == "=", "the toolbar shows the polygon tool")
    xdo("mousemove", answer[1], answer[2])
    xdo("click", "1")
    corners = [(x + 3 * w // 5, y + h // 3), (x + 7 * w // 10, y + h // 3),
               (x + 13 * w // 20, y + h // 2)]
    mark = len(view.events())
    for cx, cy in corners:
        xdo("mousemove", str(cx), str(cy))
        xdo("click", "1")
    xdo("click", "3")
    view.wait_event("Modified", mark)
    both = grab_at_rest(screen, rest, "both")
    check(shapes(view) == (2, 0), "the triangle is the second shape")
    top_edge = (x + 3 * w // 5 + 10, y + h // 3 - 3, w // 10 - 20, 7)
    check(both.differing(released, top_edge) > 0.1, "the triangle's top edge is drawn")

    # 6. A band round both selects them; their menu groups them.
    drag(left - 20, top - 20, x + 3 * w // 4, y + 3 * h // 5)
    time.sleep(0.3)
    check(shapes(view) == (2, 2), "the band selects both shapes")
    xdo("mousemove", str(middle_x), str(middle_y))
    xdo("click", "3")
    time.sleep(0.4)
    xdo("key", "g")
    time.sleep(0.4)
    check(shapes(view) == (1, 1), "\"&Group\" makes one path of them, selected")
    grouped = grab_at_rest(screen, rest, "grouped")
    for name, rect in sorted(sides.items()):
        check(grouped.differing(first, rect) > 0.1, "the group draws the box's %s side" % name)
    check(grouped.differing(first, top_edge) > 0.1, "the group draws the triangle")
    xdo("key", "l")
    time.sleep(0.4)
    turned = screen.grab("turned")
    check(turned.differing(grouped, top_edge) > 0.1, "the key l turns the path")


if __name__ == "__main__":
    sys.exit(drive(draw_box, options=("--toolbar",), exact_size=False))

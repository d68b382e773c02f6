#!/usr/bin/python3
"""Places a text in a real X window (under xvfb-run) with xdotool, as a user does, and drags it:

  1. a right click on the plot shows the main menu; "&Modify" > "&Add Text" opens the
     "Plot Text Setting" sheet, whose first edit takes the typed text, and Return is OK;
  2. the placing click puts the text where the button comes up: the host hears Modified, the
     settings text holds the text and the picture shows it there;
  3. a drag from the text moves it by the drag: Modified again, the old place is as before the
     text was placed, and the text is drawn at the new place.

usage: place_text_test.py TRENDIX_VIEW EXAMPLE OUTPUT_DIR
Exit code 0 passed, 1 failed. Shares its helpers with window_test.py; screenshots are kept in
OUTPUT_DIR.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_test import check, drag, drive, grab_at_rest, run, xdo  # noqa: E402

TEXT = "Hello"


def wait_window(name, timeout=10):
    return run("xdotool", "search", "--sync", "--onlyvisible", "--name", name,
               timeout=timeout).split()[0]


def place_and_drag(view, screen, client):
    x, y, w, h = client
    rest = (x + w // 2, y + h - 5)  # where the pointer waits for screenshots
    first = grab_at_rest(screen, rest, "first", 0.5)

    # 1. Main menu > Modify > Add Text, then the sheet.
    xdo("mousemove", str(x + w // 3), str(y + h // 3))
    xdo("click", "3")
    time.sleep(0.4)
    xdo("key", "m")
    xdo("key", "a")
    sheet = wait_window("Plot Text Setting")
    run("xdotool", "windowfocus", "--sync", sheet)
    time.sleep(0.3)
    screen.grab("sheet")
    xdo("type", TEXT)
    xdo("key", "Return")
    time.sleep(0.4)

    # 2. The placing click: the button comes up where the text's anchor goes.
    px, py = x + w // 3, y + h // 2
    mark = len(view.events())
    drag(px - 20, py - 20, px, py)
    view.wait_event("Modified", mark)
    placed = grab_at_rest(screen, rest, "placed")
    settings = view.command("GetSettings")
    check("Annotation:" + TEXT in settings, "the settings text holds the placed text")
    # Left aligned and upright: the text stands on its anchor, to its right.
    text_box = (px, py - 14, 40, 14)
    check(placed.differing(first, text_box) > 0.05, "the text is drawn where it was placed")

    # 3. Drag the text by (+80, +40).
    mark = len(view.events())
    drag(px + 5, py - 5, px + 85, py + 35)
    view.wait_event("Modified", mark)
    moved = grab_at_rest(screen, rest, "moved")
    moved_box = (px + 80, py + 40 - 14, 40, 14)
    check(moved.differing(placed, moved_box) > 0.05, "the text is drawn at its new place")
    check(moved.differing(first, text_box) < 0.02,
          "the old place is as before the text came (%.4f differ)"
          % moved.differing(first, text_box))


if __name__ == "__main__":
    sys.exit(drive(place_and_drag))

#!/usr/bin/python3
"""Opens the control's property pages in a real X window (under xvfb-run) with xdotool, as a
user does, and edits the plot through them:

  1. a right click on the plot shows the main menu, whose "Proper&ties..." opens the sheet;
     a new title typed on the "Label" page leaves the plot as it was until Apply, which
     changes the title (the control's Title, its settings text and the picture);
  2. Cancel after an Apply closes the sheet and keeps the applied title;
  3. Alt+Enter opens the sheet again; a second title typed and cancelled is not applied;
  4. Alt+Enter once more; a new X label typed and OK applies it and closes the sheet.

usage: property_pages_test.py TRENDIX_VIEW EXAMPLE OUTPUT_DIR
Exit code 0 passed, 1 failed. Shares its helpers with window_test.py; screenshots are kept in
OUTPUT_DIR.
"""
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_test import Failure, check, drive, grab_at_rest, run, xdo  # noqa: E402

CAPTION = "Trendix Control Properties"
FIRST_TITLE = "Pump curve"  # the example's
APPLIED_TITLE = "Applied title"
CANCELLED_TITLE = "Cancelled title"
X_LABEL = "Flow rate"


def wait_sheet(view):
    """Waits for the property sheet's window and answers it focused."""
    window = run("xdotool", "search", "--sync", "--onlyvisible", "--name", CAPTION,
                 timeout=10).split()[0]
    run("xdotool", "windowfocus", "--sync", window)
    check(view.command(".sheet") == "= " + CAPTION, "the sheet is \"%s\"" % CAPTION)


def wait_closed(view, timeout=5):
    deadline = time.time() + timeout
    while view.command(".sheet") != "! no sheet":
        if time.time() > deadline:
            raise Failure("the sheet stays open")
        time.sleep(0.05)


def click_on(view, *what):
    """Clicks the tab, field or button of the open sheet that `.sheet` locates."""
    answer = view.command(".sheet " + " ".join('"%s"' % w for w in what)).split()
    if answer[0] != "=":
        raise Failure(".sheet %r answered %r" % (what, answer))
    xdo("mousemove", answer[1], answer[2])
    xdo("click", "1")


def type_into(view, page, field, text):
    click_on(view, page)
    click_on(view, page, field)
    xdo("key", "ctrl+a")
    xdo("type", text)


def text_property(view, name):
    answer = view.command(name)
    if not answer.startswith("= "):
        raise Failure("%s answered %r" % (name, answer))
    return answer[2:].strip('"')


def edit_through_pages(view, screen, client):
    x, y, w, h = client
    rest = (x + w // 2, y + h - 5)  # where the pointer waits for screenshots
    title_band = (x + w // 4, y, w // 2, h // 12)
    first = grab_at_rest(screen, rest, "first", 0.5)
    check(text_property(view, "Title") == FIRST_TITLE, "the plot starts with its own title")

    # 1. The main menu's "Proper&ties..." opens the sheet; Apply applies the typed title.
    xdo("mousemove", str(x + w // 3), str(y + h // 3))
    xdo("click", "3")
    time.sleep(0.4)
    xdo("key", "t")
    wait_sheet(view)
    type_into(view, "Label", "Title text", APPLIED_TITLE)
    check(text_property(view, "Title") == FIRST_TITLE, "the plot is unchanged before Apply")
    click_on(view, "Apply")
    check(text_property(view, "Title") == APPLIED_TITLE, "Apply sets the typed title")
    settings = view.command("GetSettings")
    check(APPLIED_TITLE in settings and FIRST_TITLE not in settings,
          "the settings text holds the applied title instead of the first")
    screen.grab("applied-sheet")

    # 2. Cancel after the Apply keeps the applied title.
    click_on(view, "Cancel")
    wait_closed(view)
    applied = grab_at_rest(screen, rest, "applied")
    check(applied.differing(first, title_band) > 0.005, "the picture shows the new title")
    check(text_property(view, "Title") == APPLIED_TITLE, "Cancel after Apply keeps the title")

    # 3. Alt+Enter; a second title cancelled is not applied.
    xdo("key", "alt+Return")
    wait_sheet(view)
    type_into(view, "Label", "Title text", CANCELLED_TITLE)
    screen.grab("cancelled-sheet")
    click_on(view, "Cancel")
    wait_closed(view)
    cancelled = grab_at_rest(screen, rest, "cancelled")
    check(text_property(view, "Title") == APPLIED_TITLE, "a cancelled title is not applied")
    check(cancelled.differing(applied, client) == 0, "the picture is as after the Apply")

    # 4. Alt+Enter; OK applies a new X label and closes the sheet.
    xdo("key", "alt+Return")
    wait_sheet(view)
    type_into(view, "Label", "X Label", X_LABEL)
    click_on(view, "OK")
    wait_closed(view)
    check(text_property(view, "xlabel") == X_LABEL, "OK applies the X label")
    check(text_property(view, "Title") == APPLIED_TITLE, "OK keeps the applied title")
    labelled = grab_at_rest(screen, rest, "labelled")
    x_label_band = (x + w // 4, y + h - h // 10, w // 2, h // 10)
    check(labelled.differing(applied, x_label_band) > 0.005, "the picture shows the X label")


if __name__ == "__main__":
    sys.exit(drive(edit_through_pages))

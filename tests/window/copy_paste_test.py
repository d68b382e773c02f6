#!/usr/bin/python3
"""Copies a plot in one trendix-view and pastes it into another, both real X windows (under
xvfb-run) driven with xdotool through the X clipboard:

  1. the first view shows the example plot with its data; the second shows another plot (a
     bar graph), so that its settings text and picture differ from the first's;
  2. Ctrl+C in the first view puts the plot on the clipboard;
  3. Ctrl+V in the second view pastes it: the second view's settings text becomes the first
     view's, and a screenshot of its plot is the screenshot of the first view's plot, pixel for
     pixel.

usage: copy_paste_test.py TRENDIX_VIEW EXAMPLE OUTPUT_DIR
Exit code 0 passed, 1 failed. Shares its helpers with window_test.py; screenshots are kept in
OUTPUT_DIR.
"""
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_test import (WHOLE_TEST_SECONDS, Failure, Picture, Screen, View, check, run,  # noqa: E402
                         xdo)

SIZE = "480x360"


def start_view(exe, example, out_dir, name):
    """A view of example with its window shown, focused and raised; answers (view, window,
    client area)."""
    view = View(exe, example, os.path.join(out_dir, name + "-events.log"), ("--size", SIZE))
    window = run("xdotool", "search", "--sync", "--all", "--onlyvisible", "--pid", str(view.proc.pid),
                 "--name", "trendix-view", timeout=15).split()[0]
    run("xdotool", "windowraise", window)
    run("xdotool", "windowfocus", "--sync", window)
    client = tuple(int(v) for v in view.command(".where").split()[1:5])
    return view, window, client


def press_in(window, keys):
    """Presses keys in window, which gets the keyboard focus first (X ignores keys sent to a
    window that does not have it)."""
    run("xdotool", "windowraise", window)
    run("xdotool", "windowfocus", "--sync", window)
    xdo("key", keys)


def settings(view):
    answer = view.command(".settings")
    if not answer.startswith("= "):
        raise Failure(".settings answered %r" % answer[:80])
    return answer[2:]


def wait_for_settings(view, wanted, timeout=5):
    """Polls the view's settings text until it is wanted; answers whether it came."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        if settings(view) == wanted:
            return True
        time.sleep(0.05)
    return False


def grab_client(screen, name, client, rest):
    """A screenshot with the pointer out of the way at rest, once the plot has settled: two
    grabs in a row that agree."""
    xdo("mousemove", str(rest[0]), str(rest[1]))
    previous = screen.grab(name)
    for _ in range(20):
        current = screen.grab(name)
        if current.differing(previous, client, 0) == 0:
            return current
        previous = current
    raise Failure("the plot %s does not settle" % name)


def copy_and_paste(exe, example, out_dir, screen):
    bars = os.path.join(os.path.dirname(example), "bars.tsh")
    source, source_window, source_client = start_view(exe, example, out_dir, "source")
    views = [source]
    try:
        w, h = source_client[2:4]
        check((w, h) == (480, 360), "the first view's plot is %dx%d" % (w, h))
        rest = (1023, 767)  # the screen's far corner, outside both plots
        copied = grab_client(screen, "source", source_client, rest)
        copied_settings = settings(source)

        # 2. Ctrl+C in the first view.
        press_in(source_window, "ctrl+c")

        # 1. The second view, on another plot at the same size.
        target, target_window, target_client = start_view(exe, bars, out_dir, "target")
        views.append(target)
        check(target_client[2:4] == source_client[2:4], "both plots are %dx%d" % (w, h))
        before = grab_client(screen, "target-before", target_client, rest)
        before_settings = settings(target)
        check(before_settings != copied_settings, "the second view starts on another plot")

        plot = (0, 0, w, h)
        check(crop(copied, source_client).differing(crop(before, target_client), plot) > 0.02,
              "the two plots look different before the paste")

        # 3. Ctrl+V in the second view.
        press_in(target_window, "ctrl+v")
        if not wait_for_settings(target, copied_settings):
            pasted_settings = settings(target)
            print("was:    ", before_settings == pasted_settings and "unchanged" or "changed")
            print("copied: ", copied_settings)
            print("pasted: ", pasted_settings)
            raise Failure("the pasted plot has the copied plot's settings text")
        print("ok: the pasted plot has the copied plot's settings text")
        pasted = grab_client(screen, "target-pasted", target_client, rest)
        check(crop(copied, source_client).differing(crop(pasted, target_client), plot, 0) == 0,
              "the pasted plot's picture is the copied plot's, pixel for pixel")
        check(settings(source) == copied_settings, "the copied plot is as it was")
    finally:
        for view in views:
            view.close()


def crop(picture, rect):
    """The part rect = (x, y, w, h) of picture, as a picture of its own."""
    x, y, w, h = rect
    rows = [picture.pixels[((y + r) * picture.width + x) * 3:((y + r) * picture.width + x + w) * 3]
            for r in range(h)]
    return Picture(w, h, b"".join(rows), picture.path)


def main():
    exe, example, out_dir = sys.argv[1:4]
    os.makedirs(out_dir, exist_ok=True)
    signal.alarm(WHOLE_TEST_SECONDS)  # never hang: SIGALRM ends the test
    try:
        copy_and_paste(exe, example, out_dir, Screen(out_dir))
        return 0
    except (Failure, subprocess.SubprocessError) as e:
        print("FAILED:", e)
        return 1


if __name__ == "__main__":
    sys.exit(main())

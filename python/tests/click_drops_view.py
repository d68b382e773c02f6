"""A handler of a click in a real window lets the window's view go (run under xvfb-run with
xdotool). Events are handled by another view's loop, so nothing else holds the clicked view:
its window goes once Qt has left the click, the interpreter lives on, and the control draws
without a window again."""

import os
import subprocess
import sys
import tempfile
import time

import trendix

TITLE = "trendix click drops view"


def main():
    control = trendix.Control()
    views = [trendix.View(control, 400, 300, title=TITLE)]
    loop = trendix.View(trendix.Control(), 200, 100, title="trendix event loop")
    clicks = []

    def on_click(*args):
        clicks.append(args)
        views.clear()  # the last reference: the view goes inside its window's own click

    control.SetEvent(2, True, True)  # a left press fires OnClick and keeps its default action
    control.on("OnClick", on_click)
    loop.process_events(200)
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", TITLE],
                            check=True, capture_output=True, text=True).stdout.split()[0]
    clicker = subprocess.Popen(["xdotool", "mousemove", "--window", window, "200", "150",
                                "click", "1"])
    deadline = time.monotonic() + 10
    while not clicks and time.monotonic() < deadline:
        loop.process_events(20)
    clicker.wait()
    if not clicks:
        sys.exit("the click did not reach the handler")
    loop.process_events(50)  # the release and the deferred deletion of the window
    # The control is without a window again: it draws, and a new view may show it.
    with tempfile.TemporaryDirectory() as folder:
        control.render(os.path.join(folder, "after.png"), width=300, height=200)
        again = trendix.View(control, 300, 200)
        again.process_events(50)
        again.close()
    loop.close()
    print("click handled, view dropped, control alive:", clicks[0][2:4])


if __name__ == "__main__":
    main()

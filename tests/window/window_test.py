#!/usr/bin/python3
"""Drives trendix-view in a real X window (under xvfb-run) with xdotool and checks what the
user sees and what the host hears:

  1. a left drag marks a zoom rectangle (RegionDefined);
  2. a right click inside it shows the region menu, whose "Zoom In" zooms the plot
     (Zoomed 1, the drawing changes);
  3. Ctrl+Up zooms in again (Zoomed 1), Ctrl+End zooms out to the full plot (Zoomed 0, the
     first picture again);
  4. after SetEvent(4, TRUE, FALSE) a right click fires OnRBClick and shows no menu.

usage: window_test.py TRENDIX_VIEW EXAMPLE OUTPUT_DIR
Exit code 0 passed, 1 failed. Only the standard library is used; screenshots are kept in
OUTPUT_DIR.
"""
import os
import select
import signal
import subprocess
import sys
import time

WHOLE_TEST_SECONDS = 55
CLIENT_W, CLIENT_H = 600, 450


class Failure(Exception):
    pass


def run(*args, timeout=10):
    return subprocess.run(args, check=True, capture_output=True, text=True,
                          timeout=timeout).stdout


class Screen:
    """Screenshots of the root window, read from binary PPM."""

    def __init__(self, out_dir):
        self.out_dir = out_dir
        self.count = 0

    def grab(self, name):
        self.count += 1
        path = os.path.join(self.out_dir, "%02d-%s.ppm" % (self.count, name))
        run("import", "-window", "root", "-depth", "8", "ppm:" + path)
        return Picture.read(path)


class Picture:
    def __init__(self, width, height, pixels, path):
        self.width, self.height, self.pixels, self.path = width, height, pixels, path

    @staticmethod
    def read(path):
        data = open(path, "rb").read()
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b"#":
                pos = data.index(b"\n", pos)
                continue
            start = pos
            while not data[pos:pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise Failure("%s is not an 8-bit binary PPM" % path)
        width, height = int(fields[1]), int(fields[2])
        return Picture(width, height, data[pos + 1:pos + 1 + width * height * 3], path)

    def differing(self, other, rect, tolerance=24):
        """Share of pixels in rect = (x, y, w, h) whose channels differ by more than
        tolerance."""
        x0, y0, w, h = rect
        count = 0
        for y in range(y0, y0 + h):
            row = (y * self.width + x0) * 3
            a = self.pixels[row:row + w * 3]
            b = other.pixels[row:row + w * 3]
            if a == b:
                continue
            for i in range(0, w * 3, 3):
                if (abs(a[i] - b[i]) > tolerance or abs(a[i + 1] - b[i + 1]) > tolerance
                        or abs(a[i + 2] - b[i + 2]) > tolerance):
                    count += 1
        return count / float(w * h)


def real_window_environment():
    """The caller's environment with the X platform: the window must appear on the Xvfb
    display even when the caller exported QT_QPA_PLATFORM=offscreen (or another platform)."""
    env = dict(os.environ)
    env["QT_QPA_PLATFORM"] = "xcb"
    return env


class View:
    """trendix-view with its shell on standard input and its event log."""

    def __init__(self, exe, example, log, options=()):
        self.log = log
        self.proc = subprocess.Popen(
            [exe, example, "--event-log", log, "--shell", "--size",
             "%dx%d" % (CLIENT_W, CLIENT_H), "--quit-after", str(WHOLE_TEST_SECONDS * 1000)]
            + list(options),
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True,
            env=real_window_environment())
        self.pending = b""  # output read but not yet answered

    def command(self, line, timeout=5):
        """Sends one shell line; answers its result line (events before it are skipped)."""
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        deadline = time.time() + timeout
        while True:
            while b"\n" in self.pending:
                answer, self.pending = self.pending.split(b"\n", 1)
                if not answer.startswith(b"event "):
                    return answer.decode().strip()
            left = deadline - time.time()
            ready = select.select([self.proc.stdout], [], [], max(left, 0))[0]
            if not ready:
                raise Failure("no answer to %r" % line)
            chunk = os.read(self.proc.stdout.fileno(), 4096)
            if not chunk:
                raise Failure("trendix-view ended during %r" % line)
            self.pending += chunk

    def events(self):
        with open(self.log) as f:
            return [line.rstrip("\n") for line in f]

    def wait_event(self, prefix, after, timeout=5):
        """Waits for an event line starting with prefix among the lines after index after."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            for line in self.events()[after:]:
                if line.startswith(prefix):
                    return line
            time.sleep(0.05)
        raise Failure("no %r event; the log after line %d: %r" %
                      (prefix, after, self.events()[after:]))

    def close(self):
        try:
            self.command(".quit")
            self.proc.wait(timeout=5)
        except Exception:
            self.proc.kill()
            self.proc.wait()


def xdo(*args):
    run("xdotool", *args)
    time.sleep(0.15)


def drag(x0, y0, x1, y1):
    xdo("mousemove", str(x0), str(y0))
    xdo("mousedown", "1")
    steps = 8
    for i in range(1, steps + 1):
        run("xdotool", "mousemove", str(x0 + (x1 - x0) * i // steps),
            str(y0 + (y1 - y0) * i // steps))
        time.sleep(0.03)
    xdo("mouseup", "1")


def grab_at_rest(screen, rest, name, pause=0.4):
    """Moves the pointer out of the way to rest = (x, y), lets the window settle and takes a
    screenshot."""
    xdo("mousemove", str(rest[0]), str(rest[1]))
    time.sleep(pause)
    return screen.grab(name)


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok:", message)


def drive(body, options=(), exact_size=True):
    """Starts trendix-view as the command line says (TRENDIX_VIEW EXAMPLE OUTPUT_DIR) with the
    further options given, waits for its window and runs body(view, screen, client) with the
    client area (x, y, w, h) on the screen; answers the exit code. Without exact_size the
    window may have grown round what the options added (a toolbar wider than the plot)."""
    exe, example, out_dir = sys.argv[1:4]
    os.makedirs(out_dir, exist_ok=True)
    signal.alarm(WHOLE_TEST_SECONDS)  # never hang: SIGALRM ends the test
    log = os.path.join(out_dir, "events.log")
    view = View(exe, example, log, options)
    screen = Screen(out_dir)
    try:
        window = run("xdotool", "search", "--sync", "--onlyvisible", "--name", "trendix-view",
                     timeout=15).split()[0]
        run("xdotool", "windowfocus", "--sync", window)
        x, y, w, h = (int(v) for v in view.command(".where").split()[1:5])
        if exact_size:
            check((w, h) == (CLIENT_W, CLIENT_H), "the control's client area is %dx%d" % (w, h))
        else:
            check(w >= CLIENT_W // 2 and h >= CLIENT_H // 2,
                  "the control's client area is %dx%d" % (w, h))
        body(view, screen, (x, y, w, h))
        return 0
    except (Failure, subprocess.SubprocessError) as e:
        print("FAILED:", e)
        print("events:", view.events() if os.path.exists(log) else "none")
        return 1
    finally:
        view.close()


def zoom_and_menu(view, screen, client):
    x, y, w, h = client
    # The inner part of the plot: away from titles, axes and legend.
    inner = (x + w // 4, y + h // 4, w // 2, h // 2)
    xdo("mousemove", str(x + w // 2), str(y + h - 5))
    time.sleep(0.5)
    first = screen.grab("first")

    # 1. A zoom rectangle over the middle of the plot.
    start = len(view.events())
    drag(x + 2 * w // 5, y + 2 * h // 5, x + 3 * w // 5, y + 3 * h // 5)
    view.wait_event("RegionDefined", start)
    marked = screen.grab("marked")
    check(marked.differing(first, inner) > 0, "the marked rectangle is drawn")

    # 2. The region menu at a right click inside the rectangle; "Zoom In" is its first item.
    mx, my = x + w // 2, y + h // 2
    xdo("mousemove", str(mx), str(my))
    xdo("click", "3")
    time.sleep(0.4)
    menu = screen.grab("menu")
    below_right = (mx + 4, my + 4, 60, 16)
    check(menu.differing(marked, below_right) > 0.05, "the context menu appeared")
    after_menu = len(view.events())
    xdo("key", "Down")
    xdo("key", "Return")
    zoomed = view.wait_event("Zoomed", after_menu)
    check(zoomed == "Zoomed 1", "Zoom In fired %r" % zoomed)
    time.sleep(0.4)
    zoomed_in = screen.grab("zoomed-in")
    check(zoomed_in.differing(first, inner) > 0.005, "the plot changed after the zoom")

    # 3. Ctrl+Up zooms in further, Ctrl+End back to the full plot.
    xdo("mousemove", str(x + w // 2), str(y + h - 5))
    mark = len(view.events())
    xdo("key", "ctrl+Up")
    line = view.wait_event("Zoomed", mark)
    check(line == "Zoomed 1", "Ctrl+Up fired %r" % line)
    mark = len(view.events())
    xdo("key", "ctrl+End")
    line = view.wait_event("Zoomed", mark)
    check(line == "Zoomed 0", "Ctrl+End fired %r" % line)
    time.sleep(0.5)
    full = screen.grab("full")
    back = full.differing(first, client)
    away = zoomed_in.differing(first, client)
    check(away > 0 and back == 0,
          "the full plot is the first picture again (%.4f of pixels differ from it, "
          "%.4f when zoomed in)" % (back, away))

    # 4. With OnRBClick asked for, a right click fires it and shows no menu.
    check(view.command("SetEvent 4 TRUE FALSE") == "ok", "SetEvent 4 TRUE FALSE")
    time.sleep(0.3)
    before = screen.grab("before-right-click")
    mark = len(view.events())
    xdo("mousemove", str(mx), str(my))
    xdo("click", "3")
    line = view.wait_event("OnRBClick", mark)
    time.sleep(0.4)
    after = screen.grab("after-right-click")
    check(after.differing(before, (mx - 50, my - 50, 200, 150)) == 0,
          "no menu after %r" % line)

    # The order the host heard them in.
    wanted = ("RegionDefined", "Zoomed", "OnRBClick")
    heard = [e for e in view.events() if e.startswith(wanted)]
    expected = ["RegionDefined", "Zoomed 1", "Zoomed 1", "Zoomed 0", "OnRBClick"]
    check([e if e.startswith("Zoomed") else e.split()[0] for e in heard] == expected,
          "events in order: %r" % heard)


if __name__ == "__main__":
    sys.exit(drive(zoom_and_menu))

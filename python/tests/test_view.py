"""The control in a window: live updates, closing, and use after close."""

import numpy as np
import pytest

import trendix


def test_the_window_shows_the_control_itself(control):
    view = trendix.View(control, 640, 400, title="test")
    try:
        assert view.is_open
        view.process_events()
        assert (control.width, control.height) == (640, 400)  # laid out for the window
        control.RunPlot = True
        control.append_time_data(np.arange(10.0), np.arange(10.0))
        view.process_events(10)
        assert control.get_series(1)[1].size == 10
        with pytest.raises(trendix.Error, match="window"):
            control.resize(100, 100)
        with pytest.raises(trendix.Error, match="already"):
            trendix.View(control)
    finally:
        view.close()


def test_a_closed_view_is_harmless(control):
    view = trendix.View(control)
    view.close()
    assert not view.is_open
    view.process_events(5)
    view.exec()  # returns at once: nothing to wait for
    control.Title = "after the window"
    assert control.Title == "after the window"
    view.show()
    assert view.is_open
    view.close()


def test_the_control_draws_without_a_window_again_after_the_view(control, tmp_path):
    view = trendix.View(control, 300, 200)
    view.process_events()
    del view
    control.resize(400, 250)
    control.render(str(tmp_path / "after.png"))
    again = trendix.View(control)  # a new window may show it again
    again.close()


def test_events_from_the_window_reach_python_handlers(control):
    seen = []
    control.on("SetCaption", seen.append)
    view = trendix.View(control)
    control.Title = "in a window"
    view.process_events()
    assert seen[-1] == "in a window"
    view.close()


def test_a_handler_may_let_its_view_go(control):
    views = [trendix.View(control)]
    control.on("SetCaption", lambda text: views.clear())
    control.Title = "goes"  # the handler drops the only reference to the view
    assert not views
    control.Title = "still works"
    again = trendix.View(control)  # the first window is gone by now
    assert again.is_open
    again.close()


def test_waiting_for_the_window_lets_other_threads_run(control):
    import threading
    import time

    view = trendix.View(control)
    woke = []
    worker = threading.Thread(target=lambda: (time.sleep(0.05), woke.append(time.monotonic())))
    try:
        worker.start()
        view.process_events(500)
        returned = time.monotonic()
    finally:
        worker.join()
        view.close()
    # The worker's Python ran while the window waited, not only once the wait was over.
    assert woke and woke[0] < returned - 0.2

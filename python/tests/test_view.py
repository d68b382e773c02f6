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

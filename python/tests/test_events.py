"""Events: handler objects, callables per event, re-entrance, and handlers that raise."""

import pytest
from conftest import unraisable


class Recorder:
    def __init__(self):
        self.seen = []

    def OnSetCaption(self, text):
        self.seen.append(("SetCaption", text))

    def OnZoomed(self, on):
        self.seen.append(("Zoomed", on))


def test_handler_methods_are_named_after_the_events(control):
    r = Recorder()
    cookie = control.connect(r)
    control.Title = "First"
    assert ("SetCaption", "First") in r.seen
    control.disconnect(cookie)
    r.seen.clear()
    control.Title = "Second"
    assert r.seen == []


def test_callables_per_event_in_any_case_of_the_name(control):
    captions = []
    control.on("setcaption", captions.append)
    control.Title = "One"
    control.Title = "Two"
    assert captions[-2:] == ["One", "Two"]
    control.off("SetCaption", captions.append)
    control.Title = "Three"
    assert captions[-1] == "Two"
    with pytest.raises(KeyError):
        control.on("NoSuchEvent", print)
    with pytest.raises(TypeError):
        control.on("Zoomed", 42)


def test_a_handler_may_call_back_into_the_control(control):
    seen = []

    def on_caption(text):
        # Reads the control while its own member is still under way.
        seen.append((text, control.Title, control.nvariables))
        if text == "outer":
            control.xlabel = "set from the handler"

    control.on("SetCaption", on_caption)
    control.Title = "outer"
    assert seen[0] == ("outer", "outer", 1)
    assert control.xlabel == "set from the handler"


def test_a_raising_handler_is_reported_and_the_control_goes_on(control):
    def broken(text):
        raise ValueError("handler broke on " + text)

    class BrokenHandler:
        def OnSetCaption(self, text):
            control.BufferSize = -1  # a refusal inside the handler's call back

    later = []
    control.on("SetCaption", broken)
    control.on("SetCaption", later.append)
    control.connect(BrokenHandler())
    with unraisable() as seen:
        control.Title = "still works"
    assert control.Title == "still works"
    assert later[-1] == "still works"  # the next handler still hears it
    kinds = sorted(type(u.exc_value).__name__ for u in seen)
    assert kinds == ["Error", "ValueError"]
    assert all("SetCaption" in str(u.object) for u in seen)


def test_connecting_and_disconnecting_during_delivery(control):
    calls = []

    def first(text):
        calls.append("first")
        control.off("SetCaption", first)
        control.on("SetCaption", second)

    def second(text):
        calls.append("second")

    control.on("SetCaption", first)
    control.Title = "a"
    control.Title = "b"
    assert calls == ["first", "second"]


def test_event_names_are_listed(control):
    assert "Zoomed" in control.events and "OnClick" in control.events

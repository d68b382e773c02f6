"""Members by name: properties, methods, out parameters, errors, completion and help."""

import inspect
import pydoc

import pytest

import trendix

PROPERTIES = [
    # name as written, value, what reads back
    ("Title", "Reactor feed", "Reactor feed"),
    ("title", "lower case name", "lower case name"),
    ("XLABEL", "Time (min)", "Time (min)"),
    ("RunPlot", True, True),
    ("RunPlot", 0, False),
    ("TimeWindow", 12.5, 12.5),
    ("nvariables", 4, 4),
    ("nvariables", 3.0, 3),
    ("BufferSize", 100000, 100000),
    ("ShowLegend", True, True),
]


@pytest.mark.parametrize("name,value,expected", PROPERTIES)
def test_properties_round_trip_in_any_case(control, name, value, expected):
    setattr(control, name, value)
    assert getattr(control, name) == expected
    assert getattr(control, name.swapcase()) == expected
    assert type(getattr(control, name)) is type(expected)


def test_methods_take_their_parameters_and_answer_out_values(control):
    control.nvariables = 2
    control.npoints = 5
    for i in range(5):
        control.SetXData(1, i, 10.0 * i)  # the X variable both Y variables share
        control.SetData(2, i, i * i + 0.25)
    for i in range(5):
        ok, value = control.GetData(2, i)
        assert ok is True and value == i * i + 0.25
        ok, x = control.getxdata(1, i)
        assert ok is True and x == 10.0 * i
    assert control.GetData(2, 99)[0] is False  # past the points: nothing read


def test_a_method_is_remembered_and_matches_the_shell_interface(control):
    first = control.AddTimeData
    assert control.AddTimeData is first  # found at once the next time
    assert first.__name__ == "AddTimeData"
    assert [p[0] for p in first.parameters] == ["VarNo", "Time", "Value"]


def test_dir_lists_members_and_the_python_api(control):
    names = dir(control)
    for name in ["Title", "AddTimeData", "GetData", "SetRange", "set_series", "render", "on"]:
        assert name in names


def test_help_shows_the_parameters(control):
    sig = inspect.signature(control.GetData)
    assert list(sig.parameters) == ["VarNo", "DataNo"]
    assert sig.return_annotation == tuple[bool, float]
    assert sig.parameters["VarNo"].annotation is int
    text = pydoc.render_doc(control.SetRange)
    assert "SetRange" in text
    for param in control.SetRange.parameters:
        assert param[0] in text


def test_refusals_are_trendix_errors_with_the_hresult(control):
    with pytest.raises(trendix.Error, match="BufferSize") as e:
        control.BufferSize = -1
    assert e.value.hresult == 0x80070057  # E_INVALIDARG
    assert control.BufferSize > 0
    assert e.value.message
    assert f"{e.value.hresult:08X}" in str(e.value)


def test_unknown_names_are_attribute_errors(control):
    with pytest.raises(AttributeError, match="NoSuchMember"):
        control.NoSuchMember
    with pytest.raises(AttributeError, match="Titel"):
        control.Titel = "typo"
    with pytest.raises(AttributeError, match="AddTimeData is a method"):
        control.AddTimeData = 3


def test_a_method_outliving_its_control_refuses_calls():
    c = trendix.Control()
    add = c.AddTimeData
    del c
    with pytest.raises(ReferenceError, match="AddTimeData"):
        add(1, 0.0, 1.0)


def test_by_name_and_typed_paths_agree_on_random_data(control):
    import numpy as np

    rng = np.random.default_rng(11)
    n = 200
    control.npoints = n
    xs, ys = rng.uniform(-1e3, 1e3, n), rng.normal(size=n)
    for i in range(n):
        control.SetXData(1, i, xs[i])
        control.SetData(1, i, ys[i])
    x, y = control.get_series(1)
    np.testing.assert_array_equal(x, xs)
    np.testing.assert_array_equal(y, ys)
    other = trendix.Control()
    other.set_series(1, xs, ys)
    for i in rng.integers(0, n, 20):
        assert other.GetData(1, int(i)) == (True, ys[i])

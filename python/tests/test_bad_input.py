"""Bad input never crashes the interpreter: it is a Python exception that says what is wrong."""

import pytest

import trendix

WRONG_CALLS = [
    # member, arguments, exception, what the message names
    ("AddTimeData", (1, 0.0), TypeError, r"AddTimeData\(VarNo: int, Time: float, Value: float\) takes 3"),
    ("AddTimeData", (1, 0.0, 1.0, 2.0), TypeError, "takes 3 arguments, not 4"),
    ("AddTimeData", ("one", 0.0, 1.0), TypeError, "AddTimeData.*VarNo takes int, not str"),
    ("AddTimeData", (1, "now", 1.0), TypeError, "AddTimeData.*Time takes float, not str"),
    ("AddTimeData", (1.5, 0.0, 1.0), TypeError, "VarNo takes a whole number"),
    ("AddTimeData", (None, 0.0, 1.0), TypeError, "VarNo takes int, not NoneType"),
    ("AddTimeData", (70000, 0.0, 1.0), OverflowError, "VarNo = 70000 is out of range"),
    ("AddTimeData", (2**70, 0.0, 1.0), OverflowError, "VarNo"),
    ("SetLegend", (1, 3.5), TypeError, "SetLegend.*Legend takes str, not float"),
    ("GetData", (1,), TypeError, "GetData.*takes 2 arguments"),
]


@pytest.mark.parametrize("member,args,error,message", WRONG_CALLS)
def test_wrong_arguments_name_the_member_and_the_parameter(control, member, args, error, message):
    with pytest.raises(error, match=message):
        getattr(control, member)(*args)


def test_wrong_property_values(control):
    with pytest.raises(TypeError, match="RunPlot.*takes bool, not str"):
        control.RunPlot = "yes"
    with pytest.raises(TypeError, match="nvariables.*takes int"):
        control.nvariables = [1]
    with pytest.raises(OverflowError):
        control.nvariables = 10**6


@pytest.mark.parametrize(
    "text",
    [
        "caf\udce9",  # a lone surrogate, as surrogateescape decodes bad bytes
        b"caf\xe9 \xff\xfe",  # bytes that are not UTF-8
        "\ud800",
    ],
)
def test_text_that_is_not_utf8_is_kept_readable(control, text):
    control.Title = text
    title = control.Title
    assert isinstance(title, str)
    assert title.startswith("caf") or title == "\ufffd" or title == ""
    title.encode("utf-8")  # what comes back is always valid
    control.SetLegend(1, text)


def test_numpy_scalars_are_numbers(control):
    import numpy as np

    control.nvariables = np.int64(3)
    control.TimeWindow = np.float32(2.5)
    assert control.nvariables == 3 and control.TimeWindow == 2.5

"""numpy data: whole series in and out, blocks of live samples, conversions and refusals."""

import numpy as np
import pytest

import trendix


@pytest.mark.parametrize("n", [1, 2, 1000, 70_000, 1_000_003])
def test_series_of_any_length_round_trip(control, n):
    rng = np.random.default_rng(n)
    x = np.cumsum(rng.uniform(0.0, 1.0, n))
    y = rng.normal(size=n)
    y[rng.integers(0, n, max(1, n // 100))] = np.nan  # missing samples
    control.set_series(1, x, y)
    gx, gy = control.get_series(1)
    assert gx.dtype == np.float64 and gy.dtype == np.float64
    np.testing.assert_array_equal(gx, x)
    np.testing.assert_array_equal(gy, y)  # NaN where missing


CONVERTED = [
    np.arange(5, dtype=np.int32),
    np.arange(5, dtype=np.uint8),
    np.arange(5, dtype=np.float32),
    np.arange(10.0)[::2],  # not contiguous
    [0, 1, 2, 3, 4],
    (0.0, 1.0, 2.0, 3.0, 4.0),
    np.array([0, 1, 1, 0, 1], dtype=bool),
]


@pytest.mark.parametrize("y", CONVERTED, ids=lambda y: type(y).__name__ + str(getattr(y, "dtype", "")))
def test_real_arrays_of_other_types_are_converted(control, y):
    x = np.arange(5.0)
    control.set_series(1, x, y)
    np.testing.assert_array_equal(control.get_series(1)[1], np.asarray(y, dtype=np.float64))


REFUSED = [
    (np.arange(5) + 1j, TypeError, "complex128"),
    (np.array(["a", "b", "c", "d", "e"]), TypeError, "dtype"),
    (np.array([object()] * 5), TypeError, "dtype"),
    ("abcde", TypeError, "y"),
    (np.zeros((5, 2)), ValueError, r"shape \(5, 2\)"),
    (np.arange(4.0), ValueError, "5 values and y 4"),
    (np.zeros(0), trendix.Error, "empty"),
]


@pytest.mark.parametrize("y,error,message", REFUSED, ids=[r[2] for r in REFUSED])
def test_arrays_that_do_not_convert_safely_are_refused(control, y, error, message):
    x = np.arange(5.0) if len(np.shape(y)) != 1 or np.shape(y)[0] != 0 else np.zeros(0)
    control.set_series(1, np.arange(3.0), np.arange(3.0))
    with pytest.raises(error, match=message) as e:
        control.set_series(1, x, y)
    if error is not trendix.Error:
        assert "set_series" in str(e.value)
    np.testing.assert_array_equal(control.get_series(1)[1], np.arange(3.0))  # left as it was


def live(control, variables, buffer=10_000):
    control.RunPlot = True
    control.nvariables = variables
    control.BufferSize = buffer
    control.TimeWindow = 1000
    return control


def test_blocks_equal_samples_added_one_at_a_time():
    rng = np.random.default_rng(5)
    by_block, by_name = live(trendix.Control(), 3), live(trendix.Control(), 3)
    t0 = 0.0
    for rows in rng.integers(1, 50, 20):
        t = t0 + np.arange(1, rows + 1) * 0.1
        values = rng.normal(size=(rows, 3))
        t0 = t[-1]
        by_block.append_time_data(t, values)
        for r in range(rows):
            for v in range(3):
                by_name.AddTimeData(v + 1, t[r], values[r, v])
    for var in (1, 2, 3):
        bt, bv = by_block.get_series(var)
        nt, nv = by_name.get_series(var)
        np.testing.assert_array_equal(bt, nt)
        np.testing.assert_array_equal(bv, nv)
    assert by_block.png() == by_name.png()


def test_block_shapes_one_variable_and_one_time_step(control):
    live(control, 2)
    control.append_time_data(np.array([0.5, 1.0]), np.array([1.0, 2.0]), first_var=2)
    control.append_time_data(1.5, [7.0, 8.0])
    t, v = control.get_series(2)
    np.testing.assert_array_equal(v[-3:], [1.0, 2.0, 8.0])
    with pytest.raises(ValueError, match="3 rows for 2 times"):
        control.append_time_data(np.arange(2.0), np.zeros((3, 2)))
    with pytest.raises(ValueError, match="dimension"):
        control.append_time_data(np.arange(2.0), np.zeros((2, 2, 2)))
    with pytest.raises(trendix.Error):
        control.append_time_data(np.arange(2.0), np.zeros((2, 3)))  # 3 columns, 2 variables


def test_fortran_ordered_blocks_keep_their_rows(control):
    live(control, 2)
    values = np.asfortranarray(np.array([[1.0, 10.0], [2.0, 20.0], [3.0, 30.0]]))
    control.append_time_data(np.arange(3.0), values)
    np.testing.assert_array_equal(control.get_series(2)[1], [10.0, 20.0, 30.0])

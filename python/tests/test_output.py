"""Pictures (PNG, PDF, SVG, inline PNG) and the settings text."""

import struct

import numpy as np
import pytest

import trendix

MAGIC = {".png": b"\x89PNG", ".pdf": b"%PDF", ".svg": b"<?xml"}


def png_size(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    return struct.unpack(">II", data[16:24])


def sample(c):
    c.Title = "Picture"
    c.set_series(1, np.linspace(0, 10, 200), np.sin(np.linspace(0, 10, 200)))
    return c


@pytest.mark.parametrize("ext", sorted(MAGIC))
def test_render_writes_the_kind_named_by_the_extension(control, tmp_path, ext):
    path = tmp_path / ("plot" + ext.upper() if ext == ".png" else "plot" + ext)
    sample(control).render(str(path), width=640, height=480)
    assert path.read_bytes().startswith(MAGIC[ext])
    if ext == ".png":
        assert png_size(path.read_bytes()) == (640, 480)


def test_inline_png_has_the_controls_size_and_follows_changes(tmp_path):
    c = sample(trendix.Control(500, 300))
    first = c._repr_png_()
    assert png_size(first) == (500, 300)
    assert png_size(c.png(200, 100)) == (200, 100)
    c.Title = "Another title"
    assert c._repr_png_() != first
    c.render(str(tmp_path / "a.png"))
    assert png_size((tmp_path / "a.png").read_bytes()) == (500, 300)


def test_render_refuses_unknown_kinds_and_unwritable_paths(control, tmp_path):
    with pytest.raises(trendix.Error, match="bmp|ending|kind"):
        control.render(str(tmp_path / "plot.bmp"))
    with pytest.raises(trendix.Error):
        control.render(str(tmp_path / "no" / "such" / "dir.png"))


def test_settings_round_trip_gives_the_same_picture():
    a = sample(trendix.Control())
    a.nvariables = 2
    a.ShowLegend = True
    a.SetLegend(2, "Second")
    b = trendix.Control()
    b.settings = a.settings
    assert b.settings == a.settings
    assert b.ShowLegend is True and b.nvariables == 2
    with pytest.raises(TypeError, match="settings"):
        b.settings = 42

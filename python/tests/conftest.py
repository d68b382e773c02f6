import contextlib
import os
import sys

# Pictures and windows without a screen; the tests set this themselves, whatever the caller
# exported.
os.environ["QT_QPA_PLATFORM"] = "offscreen"

import pytest  # noqa: E402

import trendix  # noqa: E402


@pytest.fixture
def control():
    return trendix.Control()


@contextlib.contextmanager
def unraisable():
    """The exceptions handlers raise, as sys.unraisablehook receives them. Used inside a test:
    pytest puts its own hook in place while a test runs."""
    seen = []
    before = sys.unraisablehook
    sys.unraisablehook = seen.append
    try:
        yield seen
    finally:
        sys.unraisablehook = before

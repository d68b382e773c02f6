"""Trendix plotting control for Python.

``Control()`` is a plotting control without a window. Its properties and methods are
reached by name through its automation interface, in any case::

    import trendix
    c = trendix.Control()
    c.Title = "Reactor"
    c.RunPlot = True
    c.AddTimeData(1, 0.5, 12.0)
    ok, value = c.GetData(1, 0)      # out parameters come back after the result

Events reach handler objects (``c.connect(handler)`` calls ``handler.OnZoomed(on)`` and the
like) or callables per event (``c.on("Zoomed", f)``). numpy arrays go in and out whole
(``set_series``, ``append_time_data``, ``get_series``). ``render`` writes PNG, PDF or SVG;
``View(c)`` shows the control in a window.
"""

import inspect as _inspect

from ._errors import Error
from ._trendix import Control, Method, View

__all__ = ["Control", "Error", "Method", "View"]


# The Python types of the automation types, as help() shows them.
_TYPES = {"int": int, "float": float, "str": str, "bool": bool}


def _signature(method):
    """The signature help() and inspect show for a method of the control."""
    params = [
        _inspect.Parameter(
            name, _inspect.Parameter.POSITIONAL_ONLY, annotation=_TYPES.get(kind, kind)
        )
        for name, kind, direction in method.parameters
        if direction != "out"
    ]
    outputs = [kind for _, kind, direction in method.parameters if direction != "in"]
    returns = [_TYPES.get(kind, kind) for kind in ([method.returns] if method.returns else []) + outputs]
    if not returns:
        annotation = None
    elif len(returns) == 1:
        annotation = returns[0]
    else:
        annotation = tuple[tuple(returns)]
    return _inspect.Signature(params, return_annotation=annotation)


Method.__signature__ = property(_signature)

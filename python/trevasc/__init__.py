"""Trevasc: lateral analysis of piles by the p-y method, from Python.

Build a model in code (or read an input file), run it in memory, and read
the results as pandas DataFrames::

    import trevasc as t
    m = t.Model(units="SI", title="Pier 4")
    m.add_section(t.SteelPipe(20.0, 0.61, 0.0127, fy=250e3, modulus=200e6))
    m.add_layer(t.Sand(0.0, 30.0, gamma=9.0, phi=34.0, k=20e3))
    m.add_load(t.ShearMoment(100.0, 0.0, axial=500.0))
    r = m.run()
    r.summary
"""
from ._engine import result_code_meaning, version as __version__
from .model import *  # noqa: F401,F403
from .model import __all__ as _model_all
from .result import Result
from .sweep import set_path, sweep


def run_text(text, check_only=False):
    """Runs an input text of any format in memory; returns a Result."""
    from ._engine import run
    code, report, plot, messages = run(text, check_only=check_only)
    return Result(code, report, plot, messages)


__all__ = list(_model_all) + ["Result", "sweep", "set_path", "run_text", "result_code_meaning"]

"""Parameter sweeps: many variants of a model run on a thread pool (the engine
releases the GIL) or on a Dask cluster; one DataFrame row per variant."""
from __future__ import annotations

import itertools
import re
import sys
from concurrent.futures import ThreadPoolExecutor

import pandas as pd

from . import _engine

__all__ = ["sweep", "set_path"]

_STEP = re.compile(r"([A-Za-z_]\w*)(?:\[(-?\d+)\])?")


def set_path(model, path, value):
    """Sets ``path`` ("loads[0].shear", "layers[1].phi", "sections[0].length")
    on ``model``; the object's own checks apply."""
    if getattr(model, "_text", None) is not None:
        raise ValueError("a model read from a file is held as its current-format text, whose values cannot be "
                         "set by path; build the model in code to sweep it, or sweep a list of models")
    target = model
    steps = path.split(".")
    for n, step in enumerate(steps):
        match = _STEP.fullmatch(step)
        if not match:
            raise ValueError(f"cannot read {step!r} of {path!r}")
        name, index = match.group(1), match.group(2)
        last = n == len(steps) - 1
        if last and index is None:
            if not hasattr(target, name):
                raise ValueError(f"{path!r}: {type(target).__name__} has no {name!r}")
            setattr(target, name, value)
            return
        target = getattr(target, name)
        if index is not None:
            if last:
                target[int(index)] = value
                return
            target = target[int(index)]


def _summarise(code, report, plot):
    from .result import Result
    row = {"code": code, "message": _engine.result_code_meaning(code)}
    if code > 0 or not plot:
        return row
    try:
        summary = Result(code, report, plot, "").summary
    except ValueError as error:
        row["message"] = str(error)
        return row
    if len(summary):
        first = summary.iloc[0]
        row.update(head_deflection=first["head_deflection"], head_slope=first["head_slope"],
                   max_moment=first["max_moment"], max_moment_depth=first["max_moment_depth"],
                   max_shear=first["max_shear"], cases=len(summary))
    return row


def _run_text(text):
    """One variant, from its input text: the row of its results. Workers of a
    Dask cluster call this and need only the package."""
    try:
        code, report, plot, _messages = _engine.run(text)
    except Exception as error:  # a variant never stops the sweep
        return {"code": 290, "message": f"{type(error).__name__}: {error}"}
    return _summarise(code, report, plot)


def _progress(total, show):
    if not show:
        return None
    try:
        from tqdm import tqdm
        return tqdm(total=total)
    except ImportError:
        class Counter:
            def __init__(self):
                self.n = 0

            def update(self, k=1):
                self.n += k
                sys.stderr.write(f"\r{self.n}/{total}")

            def close(self):
                sys.stderr.write("\n")
        return Counter()


def sweep(model, parameters=None, *, workers=None, client=None, progress=None):
    """Runs every variant and returns one row per variant.

    ``sweep(model, {"loads[0].shear": [...], "layers[1].phi": [...]})`` runs
    the product of the value lists on copies of ``model``; ``sweep(models)``
    runs a list of models. ``workers`` threads (default: the machine's
    cores), or ``client=`` a dask.distributed Client. A variant that cannot
    be built or fails gives its code and message in its row."""
    rows, texts = [], []
    if parameters is None:
        for k, m in enumerate(model):
            rows.append({"variant": k})
            texts.append(m)
    else:
        names = list(parameters)
        for k, values in enumerate(itertools.product(*(parameters[n] for n in names))):
            rows.append(dict(variant=k, **dict(zip(names, values))))
            variant = model.copy()
            try:
                for name, value in zip(names, values):
                    set_path(variant, name, value)
                texts.append(variant)
            except (ValueError, TypeError, IndexError, AttributeError) as error:
                texts.append(error)
    inputs = []
    for item in texts:
        if isinstance(item, Exception):
            inputs.append(item)
        else:
            try:
                inputs.append(item.to_trv())
            except (ValueError, TypeError) as error:
                inputs.append(error)
    runnable = [k for k, item in enumerate(inputs) if isinstance(item, str)]
    results = {k: {"code": 188, "message": f"the variant cannot be built: {inputs[k]}"}
               for k in range(len(inputs)) if k not in runnable}
    show = sys.stderr.isatty() if progress is None else progress
    bar = _progress(len(runnable), show)
    if client is not None:
        from dask.distributed import as_completed
        futures = client.map(_run_text, [inputs[k] for k in runnable], pure=False)
        index = {f.key: k for f, k in zip(futures, runnable)}
        for future in as_completed(futures):
            results[index[future.key]] = future.result()
            if bar:
                bar.update(1)
    else:
        with ThreadPoolExecutor(max_workers=workers) as pool:
            for k, row in zip(runnable, pool.map(_run_text, [inputs[k] for k in runnable])):
                results[k] = row
                if bar:
                    bar.update(1)
    if bar:
        bar.close()
    for k, row in enumerate(rows):
        row.update(results[k])
    return pd.DataFrame(rows)

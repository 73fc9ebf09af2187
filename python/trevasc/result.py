"""Results of a run: the texts the engine wrote and pandas DataFrames read
from its plot file by the command-line host's own plot-file reader."""
from __future__ import annotations

import json
import re

import pandas as pd

from . import _engine

__all__ = ["Result"]


class Result:
    """``code`` is the engine's result code: 0 normal, negative with
    warnings, 101-199 input error, 201-299 runtime error."""

    def __init__(self, code, report, plot, messages, units=None):
        self.code = code
        self.report = report
        self.plot_text = plot
        self.messages = messages
        self._document = None
        self._units_system = units

    @property
    def ok(self):
        """True when the analysis ran to its end (with or without warnings)."""
        return self.code <= 0

    @property
    def meaning(self):
        return _engine.result_code_meaning(self.code)

    @property
    def warnings(self):
        """The report's summary of warnings: one dict per kind of warning,
        with its heading, how many times it was reported and its text."""
        lines = self.report.splitlines()
        try:
            start = next(k for k, line in enumerate(lines) if line.strip() == "Summary of Warning Messages")
        except StopIteration:
            return []
        out, count = [], 1
        k = start + 1
        while k < len(lines):
            line = lines[k]
            match = re.match(r"The following warning was reported (\d+) time", line)
            if match:
                count = int(match.group(1))
            elif line.startswith("****"):
                text = []
                k += 2
                while k < len(lines) and lines[k].strip():
                    text.append(lines[k].strip())
                    k += 1
                out.append({"warning": line.strip("* ").strip(), "count": count, "text": " ".join(text)})
                count = 1
            elif line.startswith("The analysis ended"):
                break
            k += 1
        return out

    @property
    def document(self):
        """The results document, as ``trevasc results --json`` writes it."""
        if self._document is None:
            self._document = json.loads(_engine.results_json(self.plot_text, self.report)) if self.plot_text else {}
        return self._document

    @property
    def units(self):
        """Unit names of the columns (length, force, moment, ...)."""
        return dict(self.document.get("units", {}))

    @property
    def nodes(self):
        """Per load case and node: depth, deflection, slope (not in the plot
        file: NaN), moment, shear, soil reaction, bending stiffness."""
        frames = []
        for case in self.document.get("load_cases", []):
            nodes = pd.DataFrame(case["nodes"])
            nodes.insert(0, "case", case["case"])
            frames.append(nodes)
        if not frames:
            return pd.DataFrame(columns=["case", "depth", "deflection", "slope", "moment", "shear",
                                         "soil_reaction", "bending_stiffness"])
        nodes = pd.concat(frames, ignore_index=True)
        nodes.insert(3, "slope", float("nan"))
        return nodes

    @property
    def summary(self):
        """One row per load case: head conditions, head deflection and slope,
        maximum moment and shear with their depths."""
        rows = []
        for case in self.document.get("load_cases", []):
            head = case.get("head") or {}
            cond = case.get("head_conditions") or {}
            mm = case.get("max_moment") or {}
            ms = case.get("max_shear") or {}
            rows.append({"case": case["case"], "loading_type": cond.get("loading_type"),
                         "condition_1": cond.get("condition_1"), "condition_2": cond.get("condition_2"),
                         "axial_thrust": cond.get("axial_thrust"),
                         "head_deflection": head.get("deflection"), "head_slope": head.get("slope"),
                         "head_shear": head.get("shear"), "head_moment": head.get("moment"),
                         "max_moment": mm.get("value"), "max_moment_depth": mm.get("depth"),
                         "max_shear": ms.get("value"), "max_shear_depth": ms.get("depth")})
        return pd.DataFrame(rows)

    @property
    def py_curves(self):
        rows = []
        for curve in self.document.get("py_curves", []):
            for y, p in zip(curve["points"]["y"], curve["points"]["p"]):
                rows.append({"curve": curve["curve"], "depth": curve["depth"], "soil_model": curve["soil_model"],
                             "y": y, "p": p})
        return pd.DataFrame(rows, columns=["curve", "depth", "soil_model", "y", "p"])

    @property
    def sections(self):
        """Moment-curvature points per section and thrust level."""
        rows = []
        for section in self.document.get("sections", []):
            for curve in section["curves"]:
                pts = curve["points"]
                for m, ei, phi in zip(pts["moment"], pts["bending_stiffness"], pts["curvature"]):
                    rows.append({"section": section["section"], "thrust_index": curve["thrust_index"],
                                 "axial_thrust": curve["axial_thrust"],
                                 "capacity": curve["nominal_moment_capacity"], "moment": m,
                                 "bending_stiffness": ei, "curvature": phi})
        return pd.DataFrame(rows, columns=["section", "thrust_index", "axial_thrust", "capacity", "moment",
                                           "bending_stiffness", "curvature"])

    @property
    def stiffness(self):
        return pd.DataFrame(self.document.get("pile_head_stiffness", []))

    @property
    def length_study(self):
        rows = []
        for case in self.document.get("load_cases", []):
            for point in case.get("length_study", []):
                rows.append(dict(case=case["case"], **point))
        return pd.DataFrame(rows)

    def plot(self):
        """A matplotlib figure: deflection, moment, shear and soil reaction
        against depth, every load case."""
        import matplotlib.pyplot as plt
        nodes = self.nodes
        units = self.units
        fig, axes = plt.subplots(1, 4, figsize=(14, 6), sharey=True)
        columns = [("deflection", "length"), ("moment", "moment"), ("shear", "force"),
                   ("soil_reaction", "soil_reaction")]
        for ax, (column, unit) in zip(axes, columns):
            for case, group in nodes.groupby("case"):
                ax.plot(group[column], group["depth"], label=f"case {case}")
            ax.set_xlabel(f"{column.replace('_', ' ')} ({units.get(unit, '')})")
            ax.axvline(0.0, color="grey", linewidth=0.5)
            ax.grid(True, linewidth=0.3)
        axes[0].set_ylabel(f"depth ({units.get('length', '')})")
        axes[0].invert_yaxis()
        axes[0].legend()
        fig.tight_layout()
        return fig

    def to_excel(self, path):
        """Writes every table to one workbook (needs openpyxl)."""
        try:
            import openpyxl  # noqa: F401
        except ImportError as error:
            raise RuntimeError("to_excel needs openpyxl (Debian python3-openpyxl)") from error
        with pd.ExcelWriter(path, engine="openpyxl") as writer:
            for name in ("summary", "nodes", "py_curves", "sections", "stiffness", "length_study"):
                getattr(self, name).to_excel(writer, sheet_name=name, index=False)

    def __repr__(self):
        return f"Result(code={self.code}, {self.meaning!r})"

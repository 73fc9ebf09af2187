"""Results as DataFrames agree with the report of the same run and with the
JSON document the command-line host writes from its plot file."""
import json
import re
import subprocess
import os

import pandas as pd
import pytest

import trevasc as t
from conftest import SOURCE


def report_value(report, label):
    match = re.search(re.escape(label) + r"\s*=\s*(-?[\d.E+-]+)", report)
    return float(match.group(1))


@pytest.fixture(scope="module")
def sand():
    return t.Model.read(SOURCE / "tests/cases/sand/input.trv").run()


def test_summary_matches_the_report(sand):
    assert sand.code == 0 and sand.ok
    row = sand.summary.iloc[0]
    # The report prints seven decimals; the plot file carries more.
    assert row["head_deflection"] == pytest.approx(report_value(sand.report, "Pile-head deflection"), abs=1e-7)
    assert row["max_moment"] == pytest.approx(report_value(sand.report, "Maximum bending moment"), abs=1e-4)
    assert row["max_moment_depth"] == pytest.approx(report_value(sand.report, "Depth of maximum bending moment"))
    assert row["head_slope"] == pytest.approx(report_value(sand.report, "Computed slope at pile head"), abs=1e-7)
    assert sand.units["length"] == "m"


def test_nodes_are_consistent_with_the_summary(sand):
    nodes = sand.nodes
    assert list(nodes.columns[:4]) == ["case", "depth", "deflection", "slope"]
    # 50 increments: 51 nodes from the head to the tip of the 15 m pile.
    assert len(nodes) == 51 and nodes["depth"].iloc[-1] == pytest.approx(15.0)
    assert nodes["deflection"].iloc[0] == pytest.approx(sand.summary["head_deflection"].iloc[0])
    assert nodes["moment"].abs().max() == pytest.approx(sand.summary["max_moment"].iloc[0])
    # Statics: the shear at the head is the applied 100 kN.
    assert nodes["shear"].iloc[0] == pytest.approx(100.0)
    assert set(sand.py_curves["depth"]) == {2.0, 7.0}


def test_dataframes_equal_the_command_line_json(sand, tmp_path):
    cli = os.environ.get("TREVASC_CLI")
    if not cli:
        pytest.skip("TREVASC_CLI names the command-line host")
    (tmp_path / "run.plot.txt").write_text(sand.plot_text, encoding="latin-1")
    (tmp_path / "run.report.txt").write_text(sand.report, encoding="latin-1")
    subprocess.run([cli, "results", str(tmp_path / "run.plot.txt"), "--json", "--out-dir", str(tmp_path)],
                   check=True, capture_output=True)
    document = json.loads((tmp_path / "run.results.json").read_text())
    case = document["load_cases"][0]
    nodes = sand.nodes
    for column in ("depth", "deflection", "moment", "shear", "soil_reaction", "bending_stiffness"):
        assert list(nodes[column]) == case["nodes"][column]
    assert sand.summary["max_shear"].iloc[0] == case["max_shear"]["value"]


def test_plot_and_workbook(sand, tmp_path):
    figure = sand.plot()
    assert len(figure.axes) == 4
    assert figure.axes[0].yaxis_inverted()
    pytest.importorskip("openpyxl")
    sand.to_excel(tmp_path / "sand.xlsx")
    assert pd.read_excel(tmp_path / "sand.xlsx", sheet_name="nodes").shape[0] == 51


def test_failed_run_has_code_and_empty_tables():
    r = t.run_text("TREVAS6\nTITLE\n")
    assert r.code == 180 and not r.ok
    assert r.nodes.empty and r.summary.empty


def test_warnings_are_read_from_the_report_summary():
    r = t.Model.read(SOURCE / "tests/cases/lrfd_battered_two_sections/input.trv").run()
    assert r.code < 0 and r.ok
    assert r.warnings == [{"warning": "Warning - Failure for One or More LRFD Load Cases", "count": 3,
                           "text": "This warning message is provided to alert the user that one or more of "
                                   "LRFD load cases has overloaded the structural capacity of the pile."}]
    assert sand_warnings_free()


def sand_warnings_free():
    return t.Model.read(SOURCE / "tests/cases/sand/input.trv").run().warnings == []

"""Models: reading every format, writing, building every kind of object, and
refusing bad values."""
import re

import pytest

import trevasc as t
from trevasc import _engine
from conftest import FIXED_TIME, SOURCE, current_inputs


def run(text):
    return _engine.run(text, fixed_time=FIXED_TIME)


@pytest.mark.parametrize("path", current_inputs(), ids=lambda p: p.parent.name)
def test_input_read_written_and_reread_runs_byte_identically(path):
    text = path.read_text(encoding="latin-1")
    model = t.Model.read(path)
    written = model.to_trv()
    again = t.Model.from_text(written).to_trv()
    assert again == written
    original, rewritten = run(text), run(written)
    assert rewritten[0] == original[0]
    assert rewritten[1] == original[1]  # report
    assert rewritten[2] == original[2]  # plot
    # The builder holds every value of these files: the model can be edited.
    assert model.editable


def test_read_model_is_edited_and_swept_like_a_built_one():
    model = t.Model.read(SOURCE / "tests/cases/sand/input.trv")
    assert isinstance(model.layers[1], t.ApiSand) and model.loads[0].shear == 100.0
    table = t.sweep(model, {"loads[0].shear": [100.0, 200.0]}, workers=2, progress=False)
    assert table["head_deflection"].iloc[0] == model.run().summary["head_deflection"].iloc[0]
    assert table["head_deflection"].iloc[1] > 2.0 * table["head_deflection"].iloc[0]  # sand softens


def test_model_the_builder_cannot_hold_is_kept_as_its_text():
    model = t.Model.read(SOURCE / "tests/data/input/sections/type14_micropile.trv")
    assert not model.editable
    assert model.to_trv().startswith("TREVAS6\n")
    with pytest.raises(ValueError, match="held as its current-format text"):
        t.set_path(model, "loads[0].shear", 1.0)


def test_earlier_format_gives_the_same_analysis_or_says_why_not():
    previous = SOURCE / "tests/data/previous"
    rewritten = t.Model.read(previous / "previous_mode3.trv").to_trv()
    assert rewritten.startswith("TREVAS6\n")
    assert run(rewritten)[2] == run((previous / "previous_mode3.trv").read_text())[2]
    with pytest.raises(ValueError, match="analysis mode 1"):
        t.Model.read(previous / "previous_mode1.trv")


def si_model():
    m = t.Model(units="SI", title="builder test")
    m.add_layer(t.Sand(0.0, 30.0, gamma=18.0, phi=34.0, k=20000.0))
    m.add_load(t.ShearMoment(50.0, 0.0, axial=100.0))
    return m


bars = t.CircularBars(8, 0.025, 4.91e-4, 0.075, fy=420000.0, modulus=200e6)
SECTIONS = {
    "rectangular": t.RectangularConcrete(15.0, 0.6, 0.6, fc=35000.0, bars=t.ListedBars(
        [t.Bar(x, y, 0.025, 4.91e-4) for x in (-0.2, 0.2) for y in (-0.2, 0.2)], fy=420000.0, modulus=200e6)),
    "drilled shaft": t.DrilledShaft(15.0, 0.9, fc=35000.0, bars=bars),
    "cased shaft": t.CasedShaft(15.0, 0.9, 0.0127, fy=250000.0, modulus=200e6, fc=35000.0, bars=bars),
    "cased shaft, core": t.CasedShaftWithCore(15.0, 0.9, 0.0127, fy=250000.0, modulus=200e6, core_diameter=0.3,
                                              core_wall=0.0127, core_fy=250000.0, core_modulus=200e6,
                                              fc=35000.0),
    "cased shaft, void core": t.CasedShaftWithCore(15.0, 0.9, 0.0127, fy=250000.0, modulus=200e6,
                                                   core_diameter=0.3, core_wall=0.0127, core_fy=250000.0,
                                                   core_modulus=200e6, fc=35000.0, filled=False),
    "steel pipe": t.SteelPipe(15.0, 0.61, 0.0127, fy=250000.0, modulus=200e6),
    "prestressed square": t.PrestressedPile(15.0, 0.457, shape="square", fc=48000.0, chamfer=0.019,
                                            strands=t.AutoStrands(16, type=1, size=2, prestress=130.0,
                                                                  loss=0.2, cover=0.075, pattern=1)),
    "prestressed circular hollow": t.PrestressedPile(15.0, 0.9, shape="circular", void=0.5, fc=48000.0,
                                                     strands=t.AutoStrands(12, type=1, size=2, prestress=130.0,
                                                                           loss=0.2, cover=0.075)),
    "elastic": t.ElasticSection(15.0, shape="circular", modulus=25e6, width=0.6, area=0.2827, inertia=6.36e-3),
    "elastic-plastic pipe": t.ElasticSection(15.0, shape="pipe", modulus=200e6, width=0.61, depth=0.0127,
                                             area=0.0238, inertia=1.06e-3, plastic_moment=900.0),
    "H-pile": t.HPile(15.0, modulus=200e6, flange_width=0.31, depth=0.31, flange_thickness=17.5,
                      web_thickness=17.5, area=0.0139, inertia=2.5e-4, strong=False),
    "user EI": t.UserEI(15.0, 0.6, [(100.0, [(0.0, 150000.0), (500.0, 140000.0), (1000.0, 60000.0)])]),
}

LAYERS = {
    "soft clay": t.SoftClay(0.0, 30.0, gamma=8.0, c=(20.0, 40.0), e50=0.02),
    "stiff clay, water": t.StiffClayWithWater(0.0, 30.0, gamma=9.0, c=100.0, e50=0.005, k=135000.0),
    "stiff clay": t.StiffClayWithoutWater(0.0, 30.0, gamma=18.0, c=100.0, e50=0.005),
    "stiff clay, k": t.StiffClayWithK(0.0, 30.0, gamma=18.0, c=100.0, e50=0.005, k=135000.0),
    "api sand": t.ApiSand(0.0, 30.0, gamma=9.0, phi=35.0, k=20000.0),
    "weak rock": t.WeakRock(0.0, 30.0, gamma=22.0, qu=5000.0, modulus=500000.0, rqd=50.0, krm=0.0005),
    "vuggy limestone": t.VuggyLimestone(0.0, 30.0, gamma=22.0, qu=5000.0),
    "piedmont": t.Piedmont(0.0, 30.0, gamma=18.0, test_type=1, n60=20.0, qc=0.0, ed=0.0, em=0.0),
    "cemented silt": t.CementedSilt(0.0, 30.0, gamma=18.0, c=20.0, phi=30.0, k=50000.0, e50=0.005),
    "loess": t.Loess(0.0, 30.0, gamma=16.0, qc=3000.0),
    "elastic subgrade": t.ElasticSubgrade(0.0, 30.0, gamma=18.0, es=10000.0),
    "user p-y": t.UserPy(0.0, 30.0, gamma=18.0, curve_top=[(0.0, 0.0), (0.01, 50.0), (0.1, 80.0)],
                         curve_bottom=[(0.0, 0.0), (0.01, 150.0), (0.1, 240.0)]),
    "soft clay J": t.SoftClayJ(0.0, 30.0, gamma=8.0, c=30.0, e50=0.02, j=0.5),
    "massive rock": t.MassiveRock(0.0, 30.0, gamma=(22.0, 23.0), qu=(20000.0, 25000.0), ei=(7e6, 8e6)),
}


@pytest.mark.parametrize("name", SECTIONS)
def test_every_section_class_gives_a_file_the_engine_accepts(name):
    m = si_model()
    m.add_section(SECTIONS[name])
    check = m.check()
    assert check.ok, check.report[-3000:]
    assert "The analysis ended normally." in check.report


@pytest.mark.parametrize("name", LAYERS)
def test_every_soil_class_gives_a_file_the_engine_accepts(name):
    m = t.Model(units="SI", title=name)
    m.add_section(SECTIONS["steel pipe"])
    m.add_layer(LAYERS[name])
    m.add_load(t.ShearMoment(20.0))
    check = m.check()
    assert check.ok, check.report[-3000:]


def test_loads_and_optional_blocks_reach_the_engine():
    m = si_model()
    m.add_section(SECTIONS["steel pipe"])
    for load in (t.ShearSlope(50.0, 0.0, axial=100.0), t.ShearRotationalStiffness(50.0, 1.0e5),
                 t.DeflectionMoment(0.01, 0.0), t.DeflectionSlope(0.01, 0.0, length_study=True)):
        m.add_load(load)
    m.set_slope_and_batter(5.0, 2.0).set_py_multipliers([(0.0, 0.8, 1.0), (30.0, 0.8, 1.0)])
    m.set_tip_shear([(0.0, 0.0), (0.01, 10.0)]).set_output_depths([1.0, 3.0])
    r = m.run()
    assert r.ok, r.report[-3000:]
    assert list(r.summary["loading_type"]) == [1, 2, 3, 4, 5]
    assert len(r.py_curves["curve"].unique()) == 2
    # Types 4 and 5 impose the head deflection: the run holds it.
    assert list(r.summary["head_deflection"].iloc[3:]) == pytest.approx([0.01, 0.01], rel=1e-4)
    assert not r.length_study.empty
    m.set_soil_movements([(0.0, 0.01), (5.0, 0.0)])
    assert m.check().ok
    assert "SOIL MOVEMENTS\n2\n1 0 10\n2 5 0\n" in m.to_trv()  # millimetres in the file


def test_lrfd_model_runs_its_combinations():
    m = t.Model(units="SI", title="LRFD")
    m.add_section(SECTIONS["steel pipe"])
    m.add_layer(LAYERS["api sand"])
    m.lrfd_loads = [t.LrfdLoad(1, 40.0, 0.0, 500.0), t.LrfdLoad(2, 10.0, 0.0, 100.0)]
    m.lrfd_combinations = [t.LrfdCombination("Strength I", {1: 1.25, 2: 1.75}, 0.9, 0.9),
                           t.LrfdCombination("Service", {1: 1.0, 2: 1.0}, 1.0, 1.0)]
    r = m.run()
    assert r.ok, r.report[-3000:]
    assert len(r.summary) == 2
    # Factored shears 1.25*40 + 1.75*10 = 67.5 and 50 kN.
    assert list(r.summary["head_shear"]) == pytest.approx([67.5, 50.0])


@pytest.mark.parametrize("build, message", [
    (lambda: t.Model(units="metric"), "units"),
    (lambda: t.Model(increments=20), "increments"),
    (lambda: t.SteelPipe(-1.0, 0.6, 0.01, fy=250e3, modulus=200e6), "length"),
    (lambda: t.SteelPipe(10.0, 0.6, 0.4, fy=250e3, modulus=200e6), "wall"),
    (lambda: t.SteelPipe(10.0, float("nan"), 0.01, fy=250e3, modulus=200e6), "finite"),
    (lambda: t.DrilledShaft(10.0, 0.3, fc=30e3, bars=t.CircularBars(6, 0.03, 7e-4, 0.12, fy=420e3,
                                                                    modulus=200e6)), "does not fit"),
    (lambda: t.Sand(5.0, 2.0, gamma=18.0, phi=30.0, k=1e4), "below its top"),
    (lambda: t.Sand(0.0, 2.0, gamma=18.0, phi=95.0, k=1e4), "phi"),
    (lambda: t.SoftClay(0.0, 2.0, gamma=18.0, c=-1.0, e50=0.02), "c must be greater than zero"),
    (lambda: t.Sand(0.0, 2.0, gamma=18.0, phi=30.0), "needs k"),
    (lambda: t.MassiveRock(0.0, 2.0, gamma=22.0, qu=20000.0), "together"),
    (lambda: t.MassiveRock(0.0, 2.0, gamma=22.0, qu=0.0, ei=7e6), "qu must be greater than zero"),
    (lambda: t.CircularBars(6, 0.03, 7e-4, 0.07, fy=420e3, modulus=200e6, per_bundle=4), "per_bundle"),
    (lambda: t.PrestressedPile(10.0, 0.4, shape="hexagonal", fc=40e3,
                               strands=t.AutoStrands(8, type=1, size=1, prestress=1, loss=0.1, cover=0.05)),
     "shape"),
    (lambda: t.LrfdCombination("x", [1.0] * 12), "13 load factors"),
    (lambda: t.Model().set_py_multipliers([(0.0, 1.0, 0.0)]), "y_multiplier"),
    (lambda: t.Model(units="SI").add_section(t.SteelPipe(10.0, 610.0, 12.7, fy=250e3, modulus=200e6)),
     "metres"),
    (lambda: t.Model().add_layer(t.Sand(0, 5, gamma=18, phi=30, k=1e4)).add_layer(
        t.Sand(3, 8, gamma=18, phi=30, k=1e4)), "above the bottom"),
])
def test_bad_values_raise_value_errors(build, message):
    with pytest.raises(ValueError, match=message):
        build()


def test_check_returns_the_engines_own_messages():
    m = si_model()  # a pile response without a pile
    check = m.check()
    assert not check.ok
    assert check.code > 100


def test_sweep_paths_are_checked_like_the_constructors():
    m = si_model()
    m.add_section(SECTIONS["steel pipe"])
    t.set_path(m, "layers[0].phi", 30.0)
    assert m.layers[0].phi == (30.0, 30.0)
    with pytest.raises(ValueError):
        t.set_path(m, "layers[0].phi", 120.0)
    with pytest.raises(ValueError, match="no 'nothing'"):
        t.set_path(m, "loads[0].nothing", 1.0)

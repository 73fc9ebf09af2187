"""Builder objects from a current-format text as the engine's writer lays it
out (one block keyword per line, the values of a section one per line), so
that a model read from a file can be changed value by value like one built
in code. What the builder has no object for (micropiles,
general units, ...) raises _Unsupported, and the
model is then kept as its text."""
from __future__ import annotations

from . import model as M


class _Unsupported(Exception):
    pass


class _Lines:
    def __init__(self, text):
        self.lines = text.split("\n")
        self.k = 0

    def next(self):
        line = self.lines[self.k]
        self.k += 1
        return line

    def real(self):
        return float(self.next())

    def int(self):
        return int(self.next())

    def words(self):
        return self.next().split()


def _concrete(r, si):
    fc = r.real()
    aggregate = r.real() / (1000.0 if si else 1.0)
    tensile = None
    if r.next() == "Override concrete tensile strength":
        tensile = r.real()
    curve = []
    if r.next() == "Input stress-strain curve for concrete":
        curve = [tuple(map(float, r.words()[1:])) for _ in range(r.int())]
    return dict(fc=fc, aggregate=aggregate, tensile_strength=tensile, stress_strain=curve)


def _rebar(r, si):
    mm, mm2 = (1000.0, 1.0e6) if si else (1.0, 1.0)
    first = r.next()
    if first == "No rebar":
        return None
    same = first == "Rebar Arrangement Same As Section Above"
    pattern = r.next()
    fy, modulus = r.real(), r.real()
    if pattern == "Rebar in circle":
        positions, per_bundle = r.int(), r.int()
        diameter, area, cover, offset = r.real() / mm, r.real() / mm2, r.real() / mm, r.real() / mm
        return M.CircularBars(positions, diameter, area, cover, fy=fy, modulus=modulus, per_bundle=per_bundle,
                              offset=offset, same_as_above=same)
    bars = []
    for _ in range(r.int()):
        _, size, d, a, x, y = r.words()
        bars.append(M.Bar(float(x) / mm, float(y) / mm, float(d) / mm, float(a) / mm2, int(size)))
    return M.ListedBars(bars, fy=fy, modulus=modulus, same_as_above=same)


def _strands(r, si):
    mm = 1000.0 if si else 1.0
    if r.next() == "Autoposition strands":
        type_, size, count = r.int(), r.int(), r.int()
        prestress, loss, cover, pattern = r.real(), r.real(), r.real() / mm, r.int()
        return M.AutoStrands(count, type=type_, size=size, prestress=prestress, loss=loss, cover=cover,
                             pattern=pattern)
    type_, count, prestress, loss = r.int(), r.int(), r.real(), r.real()
    strands = []
    for _ in range(count):
        _, _, size, x, y = r.words()
        strands.append(M.Strand(float(x) / mm, float(y) / mm, int(size)))
    return M.ManualStrands(strands, type=type_, prestress=prestress, loss=loss)


_PRESTRESSED = {5: ("circular", False), 6: ("circular", True), 7: ("square", False), 8: ("square", True),
                9: ("octagonal", False), 10: ("octagonal", True)}
_ELASTIC_SHAPES = {1: "rectangular", 2: "circular", 3: "pipe", 6: "embedded pole"}


def _section(r, si):
    mm, mm2, mm4 = (1000.0, 1.0e6, 1.0e12) if si else (1.0, 1.0, 1.0)
    r.int()
    code = r.int()
    length = r.real()
    if code == 0:
        depth, width = r.real() / mm, r.real() / mm
        c = _concrete(r, si)
        return M.RectangularConcrete(length, depth, width, bars=_rebar(r, si), **c)
    if code == 1:
        diameter = r.real() / mm
        c = _concrete(r, si)
        return M.DrilledShaft(length, diameter, bars=_rebar(r, si), **c)
    if code in (2, 3, -3):
        diameter, wall, fy, modulus = r.real() / mm, r.real() / mm, r.real(), r.real()
        if code == 2:
            c = _concrete(r, si)
            return M.CasedShaft(length, diameter, wall, fy=fy, modulus=modulus, bars=_rebar(r, si), **c)
        core_d, core_w, core_fy, core_e = r.real() / mm, r.real() / mm, r.real(), r.real()
        c = _concrete(r, si)
        return M.CasedShaftWithCore(length, diameter, wall, fy=fy, modulus=modulus, core_diameter=core_d,
                                    core_wall=core_w, core_fy=core_fy, core_modulus=core_e, filled=code == 3,
                                    bars=_rebar(r, si), **c)
    if code == 4:
        diameter, wall, fy, modulus = r.real() / mm, r.real() / mm, r.real(), r.real()
        return M.SteelPipe(length, diameter, wall, fy=fy, modulus=modulus)
    if code in _PRESTRESSED:
        shape, hollow = _PRESTRESSED[code]
        width = r.real() / mm
        void = r.real() / mm if hollow else 0.0
        chamfer = r.real() / mm if shape == "square" else 0.0
        c = _concrete(r, si)
        return M.PrestressedPile(length, width, shape=shape, void=void, chamfer=chamfer, strands=_strands(r, si),
                                 **c)
    if code in (11, 12):
        shape = r.int()
        modulus = r.real()
        plastic = code == 12
        if shape in (4, 5):
            moment = r.real() if plastic else None
            flange_width, depth, tf, tw = r.real() / mm, r.real() / mm, r.real(), r.real()
            area, inertia = r.real() / mm2, r.real() / mm4
            return M.HPile(length, modulus=modulus, flange_width=flange_width, depth=depth, flange_thickness=tf,
                           web_thickness=tw, area=area, inertia=inertia, strong=shape == 4, plastic_moment=moment)
        moment = (r.real(), r.real()) if plastic else None
        width = (r.real() / mm, r.real() / mm)
        depth = (r.real() / mm, r.real() / mm) if shape in (1, 3) else None
        area = (r.real() / mm2, r.real() / mm2)
        inertia = (r.real() / mm4, r.real() / mm4)
        hole = r.real() / mm if shape == 6 else None
        return M.ElasticSection(length, shape=_ELASTIC_SHAPES[shape], modulus=modulus, width=width, depth=depth,
                                area=area, inertia=inertia, plastic_moment=moment, hole_diameter=hole)
    if code == 13:
        diameter = r.real() / mm
        levels = []
        for _ in range(r.int()):
            thrust = r.real()
            levels.append((thrust, [(r.real(), r.real()) for _ in range(r.int())]))
        return M.UserEI(length, diameter, levels)
    raise _Unsupported(f"section type {code}")


_LAYERS = {cls.code: cls for cls in (M.SoftClay, M.StiffClayWithWater, M.StiffClayWithoutWater, M.StiffClayWithK,
                                     M.Sand, M.ApiSand, M.LiquefiedSand, M.WeakRock, M.VuggyLimestone, M.Piedmont,
                                     M.CementedSilt, M.Loess, M.ElasticSubgrade, M.SoftClayJ, M.MassiveRock,
                                     M.FrozenSoil)}


def _layer(r):
    code, top, bottom = r.words()
    code, top, bottom = int(code), float(top), float(bottom)
    if code == 14:
        curves, gammas = [], []
        for _ in range(2):
            gamma, count = r.words()
            gammas.append(float(gamma))
            curves.append([tuple(map(float, r.words())) for _ in range(int(count))])
        return M.UserPy(top, bottom, gamma=tuple(gammas), curve_top=curves[0], curve_bottom=curves[1])
    cls = _LAYERS[code]
    if not cls.params:
        return cls(top, bottom)
    rows = [list(map(float, r.words())), list(map(float, r.words()))]
    values = {name: (rows[0][k], rows[1][k]) for k, (name, _) in enumerate(cls.params)}
    return cls(top, bottom, **values)


_LOADS = {1: M.ShearMoment, 2: M.ShearSlope, 3: M.ShearRotationalStiffness, 4: M.DeflectionMoment,
          5: M.DeflectionSlope}


def parse(text):
    """A Model of a current-format text laid out as the engine writes it."""
    r = _Lines(text)
    if r.next() != "TREVAS6" or r.next() != "TITLE":
        raise _Unsupported("not the writer's layout")
    title = [r.next() for _ in range(5)]
    if r.next() != "OPTIONS":
        raise _Unsupported("not the writer's layout")
    options = [r.next() for _ in range(16)]
    value = lambda k: options[k].split()[1]
    yes = lambda k: options[k].endswith(" YES")
    design_code = None
    if yes(15):
        line = r.next().split()
        if len(line) != 2 or line[0] != "DesignCode" or line[1] not in M.DESIGN_CODES:
            raise _Unsupported("not the writer's layout")
        design_code = line[1]
    units = value(0)
    if units not in ("SI", "USCS"):
        raise _Unsupported("general units")
    si = units == "SI"
    m = M.Model(units=units, title="\n".join(title).rstrip("\n"), increments=int(value(11)),
                max_iterations=int(value(8)), tolerance=float(value(10)), max_deflection=float(value(9)),
                cyclic=options[7][8:14] == "CYCLIC", cycles=int(float(options[7][14:20] or 0)),
                print_increment=int(value(13)), summary_only=yes(12), ei_only=yes(6),
                stiffness_matrix=yes(2), design_code=design_code)
    use_lrfd, use_tip, use_movement, use_py, use_depths = yes(1), yes(3), yes(4), yes(5), yes(14)
    while True:
        keyword = r.next()
        if keyword == "END":
            break
        if keyword == "SECTIONS":
            for _ in range(r.int()):
                m.add_section(_section(r, si))
        elif keyword == "SOIL LAYERS":
            for _ in range(r.int()):
                m.add_layer(_layer(r))
        elif keyword == "MASSIVE ROCK":
            for _ in range(r.int()):
                words = r.words()
                number, v = int(words[0]), list(map(float, words[1:]))
                if not 1 <= number <= len(m.layers) or not isinstance(m.layers[number - 1], M.MassiveRock):
                    raise _Unsupported("a MASSIVE ROCK line of another layer")
                layer = m.layers[number - 1]
                m.layers[number - 1] = M.MassiveRock(layer.top, layer.bottom, gamma=(v[0], v[3]), qu=(v[1], v[4]),
                                                     ei=(v[2], v[5]))
        elif keyword == "TIP SHEAR":
            m.set_tip_shear([tuple(map(float, r.words()[1:])) for _ in range(r.int())])
        elif keyword == "PILE BATTER AND SLOPE":
            m.set_slope_and_batter(r.real(), r.real())
        elif keyword == "GROUP EFFECT FACTORS":
            count = r.int()
            if count < 1:
                raise _Unsupported("an empty p-y multiplier block")
            m.set_py_multipliers([tuple(map(float, r.words()[1:])) for _ in range(count)])
        elif keyword == "SOIL MOVEMENTS":
            points = []
            for _ in range(r.int()):
                _, depth, movement = r.words()
                points.append((float(depth), float(movement) / (1000.0 if si else 1.0)))
            m.set_soil_movements(points)
        elif keyword == "DEPTHS OF PRINTED P-Y CURVES":
            m.set_output_depths([float(r.words()[1]) for _ in range(r.int())])
        elif keyword == "AXIAL THRUST LOADS":
            m.thrusts = [float(r.words()[1]) for _ in range(r.int())]
        elif keyword == "LOADING":
            for _ in range(r.int()):
                _, kind, a, b, axial, study = r.words()
                m.add_load(_LOADS[int(kind)](float(a), float(b), axial=float(axial), length_study=study != "1"))
            m.distributed_load = [tuple(map(float, r.words()[1:])) for _ in range(r.int())]
        elif keyword == "LRFD LOADS":
            for _ in range(r.int()):
                _, kind, h, mo, p, n = r.words()
                points = [tuple(map(float, r.words()[1:])) for _ in range(int(n))]
                m.lrfd_loads.append(M.LrfdLoad(int(kind), float(h), float(mo), float(p), points))
        elif keyword == "LRFD FACTORS AND CASES":
            for _ in range(r.int()):
                values = list(map(float, r.words()[1:]))
                m.lrfd_combinations.append(M.LrfdCombination(r.next(), values[:13], values[13], values[14]))
        else:
            raise _Unsupported(f"block {keyword}")
    # Options the builder sets from the blocks it holds must agree with the file's.
    if (use_lrfd, use_tip, use_movement, use_py, use_depths) != (
            bool(m.lrfd_loads), bool(m.tip_shear), bool(m.soil_movements), bool(m.py_multipliers),
            bool(m.output_depths)):
        raise _Unsupported("options without their blocks")
    return m

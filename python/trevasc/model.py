"""Models built in code: sections, soil layers, loads and options, validated on
construction and written as current-format (TREVAS6) input text.

Units: ``units="SI"`` takes kN, kPa and metres everywhere; section sizes are
written to the file in millimetres (areas mm^2, inertias mm^4) and soil
movements in millimetres, as the file wants them. ``units="USCS"`` takes the
file's own units: lb, psi and inches for the pile and loads, feet for depths,
pcf/pci for soil properties, as the input format documents them.
"""
from __future__ import annotations

import copy
import math
import numbers
import os
import re

from . import _engine

__all__ = [
    "Model", "CircularBars", "ListedBars", "Bar", "AutoStrands", "ManualStrands", "Strand",
    "RectangularConcrete", "DrilledShaft", "CasedShaft", "CasedShaftWithCore", "SteelPipe",
    "PrestressedPile", "ElasticSection", "HPile", "UserEI", "Micropile",
    "SoftClay", "StiffClayWithWater", "StiffClayWithoutWater", "StiffClayWithK", "Sand", "ApiSand",
    "LiquefiedSand", "WeakRock", "VuggyLimestone", "Piedmont", "CementedSilt", "Loess",
    "ElasticSubgrade", "UserPy", "SoftClayJ", "MassiveRock", "FrozenSoil",
    "ShearMoment", "ShearSlope", "ShearRotationalStiffness", "DeflectionMoment", "DeflectionSlope",
    "LrfdLoad", "LrfdCombination", "CheckResult",
]


def _number(name, value, *, positive=False, non_negative=False, low=None, high=None):
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise ValueError(f"{name} must be a number, not {value!r}")
    value = float(value)
    if not math.isfinite(value):
        raise ValueError(f"{name} must be finite, not {value}")
    if positive and value <= 0.0:
        raise ValueError(f"{name} must be greater than zero, not {value}")
    if non_negative and value < 0.0:
        raise ValueError(f"{name} must not be negative, not {value}")
    if low is not None and value < low:
        raise ValueError(f"{name} must be at least {low}, not {value}")
    if high is not None and value > high:
        raise ValueError(f"{name} must be at most {high}, not {value}")
    return value


def _integer(name, value, low=None, high=None):
    if isinstance(value, bool) or not isinstance(value, numbers.Integral):
        raise ValueError(f"{name} must be an integer, not {value!r}")
    value = int(value)
    if (low is not None and value < low) or (high is not None and value > high):
        raise ValueError(f"{name} must be between {low} and {high}, not {value}")
    return value


def _real(value):
    """Shortest text that reads back as the same double."""
    text = repr(float(value))
    return text[:-2] if text.endswith(".0") and "e" not in text else text


class _Units:
    """Scale of section sizes from the model's units to the file's."""

    def __init__(self, system):
        self.si = system == "SI"

    def length(self, value):
        return _real(value * 1000.0) if self.si else _real(value)

    def area(self, value):
        return _real(value * 1.0e6) if self.si else _real(value)

    def inertia(self, value):
        return _real(value * 1.0e12) if self.si else _real(value)


# ---------------------------------------------------------------- reinforcement

def _arrangement(bars):
    # The echo notes an arrangement that repeats the section above; the bars
    # are given in full either way.
    return ("Rebar Arrangement Same As Section Above" if bars.same_as_above
            else "Rebar Arrangement Not Same As Section Above")


class CircularBars:
    """Bars round a circle: ``positions`` bundles of ``per_bundle`` bars of
    ``bar_diameter`` and ``bar_area`` with ``cover`` to the bar edge,
    optionally shifted by ``offset`` across the section."""

    def __init__(self, positions, bar_diameter, bar_area, cover, *, fy, modulus, per_bundle=1, offset=0.0,
                 same_as_above=False):
        self.same_as_above = bool(same_as_above)
        self.positions = _integer("positions", positions, 1, 300)
        self.per_bundle = _integer("per_bundle", per_bundle, 1, 3)
        self.bar_diameter = _number("bar_diameter", bar_diameter, positive=True)
        self.bar_area = _number("bar_area", bar_area, positive=True)
        self.cover = _number("cover", cover, non_negative=True)
        self.offset = _number("offset", offset)
        self.fy = _number("fy", fy, positive=True)
        self.modulus = _number("modulus", modulus, positive=True)

    def lines(self, u):
        return [_arrangement(self), "Rebar in circle", _real(self.fy), _real(self.modulus),
                str(self.positions), str(self.per_bundle), u.length(self.bar_diameter), u.area(self.bar_area),
                u.length(self.cover), u.length(self.offset)]


class Bar:
    """One listed bar: size code, diameter, area and position (x, y)."""

    def __init__(self, x, y, diameter, area, size_code=0):
        self.x = _number("x", x)
        self.y = _number("y", y)
        self.diameter = _number("diameter", diameter, positive=True)
        self.area = _number("area", area, positive=True)
        self.size_code = _integer("size_code", size_code, 0, 99)


class ListedBars:
    """Bars at listed positions (x, y from the section centre)."""

    def __init__(self, bars, *, fy, modulus, same_as_above=False):
        self.same_as_above = bool(same_as_above)
        self.bars = list(bars)
        if not 1 <= len(self.bars) <= 300:
            raise ValueError(f"a section holds 1 to 300 listed bars, not {len(self.bars)}")
        self.fy = _number("fy", fy, positive=True)
        self.modulus = _number("modulus", modulus, positive=True)

    def lines(self, u):
        out = [_arrangement(self), "Rebar in noncircular pattern", _real(self.fy),
               _real(self.modulus), str(len(self.bars))]
        for j, b in enumerate(self.bars, 1):
            out.append(f"{j} {b.size_code} {u.length(b.diameter)} {u.area(b.area)} {u.length(b.x)} {u.length(b.y)}")
        return out


class AutoStrands:
    """Strands placed by the engine: strand ``type`` (0-4) and ``size`` codes,
    ``count``, initial prestress force, loss fraction, cover and pattern (0
    circular, 1-3 square patterns)."""

    def __init__(self, count, *, type, size, prestress, loss, cover, pattern=0):
        self.count = _integer("count", count, 1, 300)
        self.type = _integer("type", type, 0, 4)
        self.size = _integer("size", size, 0, 20)
        self.prestress = _number("prestress", prestress, non_negative=True)
        self.loss = _number("loss", loss, low=0.0, high=1.0)
        self.cover = _number("cover", cover, non_negative=True)
        self.pattern = _integer("pattern", pattern, 0, 3)

    def lines(self, u):
        return ["Autoposition strands", str(self.type), str(self.size), str(self.count), _real(self.prestress),
                _real(self.loss), u.length(self.cover), str(self.pattern)]


class Strand:
    def __init__(self, x, y, size):
        self.x = _number("x", x)
        self.y = _number("y", y)
        self.size = _integer("size", size, 0, 20)


class ManualStrands:
    def __init__(self, strands, *, type, prestress, loss):
        self.strands = list(strands)
        if not 1 <= len(self.strands) <= 300:
            raise ValueError(f"a section holds 1 to 300 strands, not {len(self.strands)}")
        self.type = _integer("type", type, 0, 4)
        self.prestress = _number("prestress", prestress, non_negative=True)
        self.loss = _number("loss", loss, low=0.0, high=1.0)

    def lines(self, u):
        out = ["Manually-positioned strands", str(self.type), str(len(self.strands)), _real(self.prestress),
               _real(self.loss)]
        for j, s in enumerate(self.strands, 1):
            out.append(f"{j} {self.type} {s.size} {u.length(s.x)} {u.length(s.y)}")
        return out


# --------------------------------------------------------------------- sections

class _Section:
    code = None

    def __init__(self, length):
        self.length = _number("length", length, positive=True)

    def __setattr__(self, name, value):
        # Values set after construction (a sweep) meet the same checks.
        if name == "length":
            value = _number("length", value, positive=True)
        elif isinstance(value, numbers.Real) and not isinstance(value, bool):
            value = _number(name, value)
        object.__setattr__(self, name, value)

    def type_code(self):
        return self.code

    def lines(self, u):
        return []


def _concrete_lines(sec, u):
    out = [_real(sec.fc), u.length(sec.aggregate)]
    if sec.tensile_strength is None:
        out.append("Use default concrete tensile strength")
    else:
        out += ["Override concrete tensile strength", _real(sec.tensile_strength)]
    if sec.stress_strain:
        out += ["Input stress-strain curve for concrete", str(len(sec.stress_strain))]
        out += [f"{j} {_real(e)} {_real(f)}" for j, (e, f) in enumerate(sec.stress_strain, 1)]
    else:
        out.append("Use internal stress-strain curve for concrete")
    return out


class _Concrete(_Section):
    """Concrete of strength ``fc`` with maximum aggregate size ``aggregate``;
    ``tensile_strength`` overrides the default, ``stress_strain`` (a list of
    (strain, stress), up to 100) replaces the internal curve."""

    def __init__(self, length, fc, aggregate, tensile_strength, reinforcement, stress_strain=None):
        super().__init__(length)
        self.stress_strain = [(_number("strain", e, non_negative=True), _number("stress", f, non_negative=True))
                              for e, f in (stress_strain or [])]
        if len(self.stress_strain) > 100:
            raise ValueError("a concrete stress-strain curve has at most 100 points")
        self.fc = _number("fc", fc, positive=True)
        self.aggregate = _number("aggregate", aggregate, positive=True)
        self.tensile_strength = None if tensile_strength is None else _number(
            "tensile_strength", tensile_strength, positive=True)
        self.reinforcement = reinforcement

    def _reinforcement_lines(self, u):
        return ["No rebar"] if self.reinforcement is None else self.reinforcement.lines(u)


class RectangularConcrete(_Concrete):
    """Reinforced concrete rectangle: ``depth`` faces the soil."""
    code = 0

    def __init__(self, length, depth, width, *, fc, bars=None, aggregate=0.019, tensile_strength=None, stress_strain=None):
        super().__init__(length, fc, aggregate, tensile_strength, bars, stress_strain)
        self.depth = _number("depth", depth, positive=True)
        self.width = _number("width", width, positive=True)

    def lines(self, u):
        return [u.length(self.depth), u.length(self.width)] + _concrete_lines(self, u) + self._reinforcement_lines(u)


class DrilledShaft(_Concrete):
    """Reinforced concrete drilled shaft of ``diameter`` with bars and cover."""
    code = 1

    def __init__(self, length, diameter, *, fc, bars=None, aggregate=0.019, tensile_strength=None, stress_strain=None):
        super().__init__(length, fc, aggregate, tensile_strength, bars, stress_strain)
        self.diameter = _number("diameter", diameter, positive=True)
        if isinstance(bars, CircularBars) and 2.0 * bars.cover + 2.0 * bars.bar_diameter >= self.diameter:
            raise ValueError("the bar cage does not fit inside the shaft (cover and bars wider than the diameter)")

    def lines(self, u):
        return [u.length(self.diameter)] + _concrete_lines(self, u) + self._reinforcement_lines(u)


class CasedShaft(_Concrete):
    """Drilled shaft in a steel casing of ``wall`` thickness."""
    code = 2

    def __init__(self, length, diameter, wall, *, fy, modulus, fc, bars=None, aggregate=0.019,
                 tensile_strength=None, stress_strain=None):
        super().__init__(length, fc, aggregate, tensile_strength, bars, stress_strain)
        self.diameter = _number("diameter", diameter, positive=True)
        self.wall = _number("wall", wall, positive=True, high=diameter / 2.0)
        self.fy = _number("fy", fy, positive=True)
        self.modulus = _number("modulus", modulus, positive=True)

    def lines(self, u):
        return ([u.length(self.diameter), u.length(self.wall), _real(self.fy), _real(self.modulus)]
                + _concrete_lines(self, u) + self._reinforcement_lines(u))


class CasedShaftWithCore(CasedShaft):
    """Cased shaft with a steel core (pipe); ``filled=False`` leaves the core void."""

    def __init__(self, length, diameter, wall, *, fy, modulus, core_diameter, core_wall, core_fy, core_modulus,
                 fc, filled=True, bars=None, aggregate=0.019, tensile_strength=None, stress_strain=None):
        super().__init__(length, diameter, wall, fy=fy, modulus=modulus, fc=fc, bars=bars, aggregate=aggregate,
                         tensile_strength=tensile_strength, stress_strain=stress_strain)
        self.core_diameter = _number("core_diameter", core_diameter, positive=True, high=diameter - 2.0 * wall)
        self.core_wall = _number("core_wall", core_wall, positive=True, high=core_diameter / 2.0)
        self.core_fy = _number("core_fy", core_fy, positive=True)
        self.core_modulus = _number("core_modulus", core_modulus, positive=True)
        self.filled = bool(filled)

    def type_code(self):
        return 3 if self.filled else -3

    def lines(self, u):
        return ([u.length(self.diameter), u.length(self.wall), _real(self.fy), _real(self.modulus),
                 u.length(self.core_diameter), u.length(self.core_wall), _real(self.core_fy),
                 _real(self.core_modulus)] + _concrete_lines(self, u) + self._reinforcement_lines(u))


class SteelPipe(_Section):
    """Steel pipe pile of outside ``diameter`` and ``wall`` thickness."""
    code = 4

    def __init__(self, length, diameter, wall, *, fy, modulus):
        super().__init__(length)
        self.diameter = _number("diameter", diameter, positive=True)
        self.wall = _number("wall", wall, positive=True, high=self.diameter / 2.0)
        self.fy = _number("fy", fy, positive=True)
        self.modulus = _number("modulus", modulus, positive=True)

    def lines(self, u):
        return [u.length(self.diameter), u.length(self.wall), _real(self.fy), _real(self.modulus)]


class PrestressedPile(_Concrete):
    """Prestressed concrete pile: ``shape`` "circular", "square" or
    "octagonal", solid or with a ``void`` diameter; square piles may have a
    corner ``chamfer``."""
    _codes = {("circular", False): 5, ("circular", True): 6, ("square", False): 7, ("square", True): 8,
              ("octagonal", False): 9, ("octagonal", True): 10}

    def __init__(self, length, width, *, shape, fc, strands, void=0.0, chamfer=0.0, aggregate=0.019,
                 tensile_strength=None, stress_strain=None):
        super().__init__(length, fc, aggregate, tensile_strength, strands, stress_strain)
        if shape not in ("circular", "square", "octagonal"):
            raise ValueError(f"shape must be circular, square or octagonal, not {shape!r}")
        if not isinstance(strands, (AutoStrands, ManualStrands)):
            raise ValueError("a prestressed pile needs AutoStrands or ManualStrands")
        self.shape = shape
        self.width = _number("width", width, positive=True)
        self.void = _number("void", void, non_negative=True, high=self.width)
        self.chamfer = _number("chamfer", chamfer, non_negative=True, high=self.width / 2.0)
        if self.chamfer and shape != "square":
            raise ValueError("only square piles have a corner chamfer")

    def type_code(self):
        return self._codes[(self.shape, self.void > 0.0)]

    def lines(self, u):
        out = [u.length(self.width)]
        if self.void > 0.0:
            out.append(u.length(self.void))
        if self.shape == "square":
            out.append(u.length(self.chamfer))
        return out + _concrete_lines(self, u) + self.reinforcement.lines(u)


class ElasticSection(_Section):
    """Elastic section of modulus ``modulus``: ``shape`` "rectangular",
    "circular", "pipe" or "embedded pole", with widths, depths (wall for a
    pipe), areas and inertias at the top and bottom of the section (a single
    value serves both). With ``plastic_moment`` the section is
    elastic-plastic."""
    _shapes = {"rectangular": 1, "circular": 2, "pipe": 3, "embedded pole": 6}

    def __init__(self, length, *, shape, modulus, width, area, inertia, depth=None, plastic_moment=None,
                 hole_diameter=None):
        super().__init__(length)
        if shape not in self._shapes:
            raise ValueError(f"shape must be one of {sorted(self._shapes)}, not {shape!r}")
        self.shape = shape
        self.modulus = _number("modulus", modulus, positive=True)
        pair = lambda name, v: tuple(_number(name, x, positive=True) for x in (v if isinstance(v, (tuple, list)) else (v, v)))
        self.width = pair("width", width)
        self.area = pair("area", area)
        self.inertia = pair("inertia", inertia)
        if shape in ("rectangular", "pipe"):
            if depth is None:
                raise ValueError(f"a {shape} elastic section needs its depth (wall thickness for a pipe)")
            self.depth = pair("depth", depth)
        else:
            self.depth = None
        self.plastic_moment = None if plastic_moment is None else pair("plastic_moment", plastic_moment)
        if shape == "embedded pole":
            if hole_diameter is None:
                raise ValueError("an embedded pole needs the diameter of its drilled hole")
            self.hole_diameter = _number("hole_diameter", hole_diameter, positive=True)

    def type_code(self):
        return 11 if self.plastic_moment is None else 12

    def lines(self, u):
        out = [str(self._shapes[self.shape]), _real(self.modulus)]
        if self.plastic_moment is not None:
            out += [_real(m) for m in self.plastic_moment]
        out += [u.length(w) for w in self.width]
        if self.depth is not None:
            out += [u.length(d) for d in self.depth]
        out += [u.area(a) for a in self.area] + [u.inertia(i) for i in self.inertia]
        if self.shape == "embedded pole":
            out.append(u.length(self.hole_diameter))
        return out


class HPile(_Section):
    """Steel H-pile bent about its ``strong`` axis (or weak axis): flange
    width, depth, flange and web thicknesses (as entered), area, inertia;
    elastic-plastic with ``plastic_moment``."""

    def __init__(self, length, *, modulus, flange_width, depth, flange_thickness, web_thickness, area, inertia,
                 strong=True, plastic_moment=None):
        super().__init__(length)
        self.modulus = _number("modulus", modulus, positive=True)
        self.flange_width = _number("flange_width", flange_width, positive=True)
        self.depth = _number("depth", depth, positive=True)
        self.flange_thickness = _number("flange_thickness", flange_thickness, positive=True)
        self.web_thickness = _number("web_thickness", web_thickness, positive=True)
        self.area = _number("area", area, positive=True)
        self.inertia = _number("inertia", inertia, positive=True)
        self.strong = bool(strong)
        self.plastic_moment = None if plastic_moment is None else _number("plastic_moment", plastic_moment,
                                                                          positive=True)

    def type_code(self):
        return 11 if self.plastic_moment is None else 12

    def lines(self, u):
        out = [str(4 if self.strong else 5), _real(self.modulus)]
        if self.plastic_moment is not None:
            out.append(_real(self.plastic_moment))
        # Flange and web thicknesses are written as given.
        return out + [u.length(self.flange_width), u.length(self.depth), _real(self.flange_thickness),
                      _real(self.web_thickness), u.area(self.area), u.inertia(self.inertia)]


class UserEI(_Section):
    """Bending stiffness given by the user: ``levels`` is a list of
    (axial thrust, [(moment, EI), ...])."""
    code = 13

    def __init__(self, length, diameter, levels):
        super().__init__(length)
        self.diameter = _number("diameter", diameter, positive=True)
        self.levels = [(_number("thrust", t), [(_number("moment", m, non_negative=True),
                                                 _number("EI", ei, positive=True)) for m, ei in pts])
                       for t, pts in levels]
        if not self.levels or any(not pts for _, pts in self.levels):
            raise ValueError("user-defined EI needs at least one thrust level with points")

    def lines(self, u):
        out = [u.length(self.diameter), str(len(self.levels))]
        for thrust, points in self.levels:
            out += [_real(thrust), str(len(points))]
            for m, ei in points:
                out += [_real(m), _real(ei)]
        return out


class Micropile(_Section):
    """A micropile section (adds no length to the pile above it)."""
    code = 14


# ------------------------------------------------------------------- soil layers

def _pair(name, value, **checks):
    values = value if isinstance(value, (tuple, list)) else (value, value)
    if len(values) != 2:
        raise ValueError(f"{name} is one value or a (top, bottom) pair")
    return tuple(_number(name, v, **checks) for v in values)


class _Layer:
    code = None
    params = ()  # (name, checks) in the order of the file

    def __init__(self, top, bottom, **values):
        self.top = _number("top", top)
        self.bottom = _number("bottom", bottom)
        if self.bottom <= self.top:
            raise ValueError(f"the layer bottom ({self.bottom}) must be below its top ({self.top})")
        for name, checks in self.params:
            if name not in values:
                raise ValueError(f"{type(self).__name__} needs {name}")
            setattr(self, name, _pair(name, values.pop(name), **checks))
        if values:
            raise ValueError(f"{type(self).__name__} has no parameter {', '.join(values)}")

    def __setattr__(self, name, value):
        for pname, checks in type(self).params:
            if name == pname and not (isinstance(value, tuple) and len(value) == 2):
                value = _pair(name, value, **checks)
        object.__setattr__(self, name, value)

    def lines(self):
        line = lambda k: " ".join(_real(getattr(self, n)[k]) if n != "test_type" else str(int(getattr(self, n)[k]))
                                  for n, _ in self.params)
        return [line(0), line(1)] if self.params else []


_P, _NN = {"positive": True}, {"non_negative": True}
_DEFAULT = _NN  # 0 selects the criterion's own value (k, e50)
_ANGLE = {"positive": True, "high": 89.9}


def _layer(name, code, params, doc):
    return type(name, (_Layer,), {"code": code, "params": tuple(params), "__doc__": doc})


SoftClay = _layer("SoftClay", 1, [("gamma", _P), ("c", _P), ("e50", _DEFAULT)],
                  "Soft clay (Matlock): effective unit weight, undrained shear strength, strain at 50%.")
StiffClayWithWater = _layer("StiffClayWithWater", 2, [("gamma", _P), ("c", _P), ("e50", _DEFAULT), ("k", _DEFAULT)],
                            "Stiff clay with free water: gamma, c, e50 and k.")
StiffClayWithoutWater = _layer("StiffClayWithoutWater", 3, [("gamma", _P), ("c", _P), ("e50", _DEFAULT)],
                               "Stiff clay without free water: gamma, c, e50.")
StiffClayWithK = _layer("StiffClayWithK", 4, [("gamma", _P), ("c", _P), ("e50", _DEFAULT), ("k", _DEFAULT)],
                        "Modified stiff clay without free water, with k: gamma, c, e50, k.")
Sand = _layer("Sand", 5, [("gamma", _P), ("phi", _ANGLE), ("k", _DEFAULT)], "Sand (Reese): gamma, phi (degrees), k.")
ApiSand = _layer("ApiSand", 6, [("gamma", _P), ("phi", _ANGLE), ("k", _DEFAULT)], "API sand: gamma, phi (degrees), k.")
LiquefiedSand = _layer("LiquefiedSand", 7, [("gamma", _P)], "Liquefied sand: gamma.")
WeakRock = _layer("WeakRock", 8, [("gamma", _P), ("qu", _P), ("modulus", _DEFAULT), ("rqd", {"low": 0.0, "high": 100.0}),
                                  ("krm", _P)], "Weak rock: gamma, qu, rock mass modulus, RQD (%), krm.")
VuggyLimestone = _layer("VuggyLimestone", 9, [("gamma", _P), ("qu", _P)], "Vuggy limestone: gamma, qu.")
Piedmont = _layer("Piedmont", 10, [("gamma", _P), ("test_type", {"low": 1, "high": 4}), ("n60", _NN),
                                   ("qc", _NN), ("ed", _NN), ("em", _NN)],
                  "Piedmont residual soil: gamma, test type (1-4), N60, cone qc, dilatometer Ed, pressuremeter Em.")
CementedSilt = _layer("CementedSilt", 11, [("gamma", _P), ("c", _NN), ("phi", {"non_negative": True, "high": 89.9}),
                                           ("k", _DEFAULT), ("e50", _DEFAULT)], "Cemented silt: gamma, c, phi, k, e50.")
Loess = _layer("Loess", 12, [("gamma", _P), ("qc", _P)], "Loess: gamma, cone tip resistance.")
ElasticSubgrade = _layer("ElasticSubgrade", 13, [("gamma", _P), ("es", _P)], "Elastic subgrade: gamma, modulus.")
SoftClayJ = _layer("SoftClayJ", 15, [("gamma", _P), ("c", _P), ("e50", _DEFAULT), ("j", _P)],
                   "Soft clay with J: gamma, c, e50, J.")
class MassiveRock(_Layer):
    """Massive rock: effective unit weight, uniaxial compressive strength qu
    (psi in US customary units, kPa in SI) and intact rock modulus ei at the
    layer top and bottom. They are written in the MASSIVE ROCK block; a layer
    without them is accepted, but its analysis stops with Input Data Error 72."""
    code = 16

    def __init__(self, top, bottom, *, gamma=None, qu=None, ei=None):
        super().__init__(top, bottom)
        given = [v is not None for v in (gamma, qu, ei)]
        if any(given) and not all(given):
            raise ValueError("MassiveRock needs gamma, qu and ei together")
        self.gamma = None if gamma is None else _pair("gamma", gamma, non_negative=True)
        self.qu = None if qu is None else _pair("qu", qu, positive=True)
        self.ei = None if ei is None else _pair("ei", ei, positive=True)

    def rock_line(self, number):
        """Its line of the MASSIVE ROCK block, or None without values."""
        if self.qu is None:
            return None
        values = [v[end] for end in (0, 1) for v in (self.gamma, self.qu, self.ei)]
        return " ".join([str(number)] + [_real(v) for v in values])


FrozenSoil = _layer("FrozenSoil", 17, [], "Frozen soil (no parameters).")


class UserPy(_Layer):
    """User p-y curves at the layer top and bottom: lists of (y, p)."""
    code = 14

    def __init__(self, top, bottom, *, gamma, curve_top, curve_bottom):
        super().__init__(top, bottom)
        self.gamma = _pair("gamma", gamma, positive=True)
        self.curve_top = [(_number("y", y, non_negative=True), _number("p", p)) for y, p in curve_top]
        self.curve_bottom = [(_number("y", y, non_negative=True), _number("p", p)) for y, p in curve_bottom]
        for curve in (self.curve_top, self.curve_bottom):
            if not 2 <= len(curve) <= 30:
                raise ValueError("a user p-y curve has 2 to 30 points")

    def lines(self):
        out = []
        for gamma, curve in ((self.gamma[0], self.curve_top), (self.gamma[1], self.curve_bottom)):
            out.append(f"{_real(gamma)} {len(curve)}")
            out += [f"{_real(y)} {_real(p)}" for y, p in curve]
        return out


# ------------------------------------------------------------------------- loads

class _Load:
    type = None
    names = ()

    def __setattr__(self, name, value):
        if name != "length_study":
            value = _number(name, value)
        object.__setattr__(self, name, value)

    def __init__(self, a, b, axial=0.0, length_study=False):
        setattr(self, self.names[0], _number(self.names[0], a))
        setattr(self, self.names[1], _number(self.names[1], b))
        self.axial = _number("axial", axial)
        self.length_study = bool(length_study)

    def line(self, j):
        a, b = (getattr(self, n) for n in self.names)
        return f"{j} {self.type} {_real(a)} {_real(b)} {_real(self.axial)} {0 if self.length_study else 1}"


class ShearMoment(_Load):
    """Pile-head shear and moment (loading type 1)."""
    type, names = 1, ("shear", "moment")

    def __init__(self, shear, moment=0.0, axial=0.0, length_study=False):
        super().__init__(shear, moment, axial, length_study)


class ShearSlope(_Load):
    """Pile-head shear and slope (type 2); slope 0 is a fixed head."""
    type, names = 2, ("shear", "slope")

    def __init__(self, shear, slope=0.0, axial=0.0, length_study=False):
        super().__init__(shear, slope, axial, length_study)


class ShearRotationalStiffness(_Load):
    """Pile-head shear and rotational restraint (type 3)."""
    type, names = 3, ("shear", "rotational_stiffness")

    def __init__(self, shear, rotational_stiffness, axial=0.0, length_study=False):
        super().__init__(shear, rotational_stiffness, axial, length_study)
        _number("rotational_stiffness", rotational_stiffness, non_negative=True)


class DeflectionMoment(_Load):
    """Pile-head deflection and moment (type 4)."""
    type, names = 4, ("deflection", "moment")

    def __init__(self, deflection, moment=0.0, axial=0.0, length_study=False):
        super().__init__(deflection, moment, axial, length_study)


class DeflectionSlope(_Load):
    """Pile-head deflection and slope (type 5)."""
    type, names = 5, ("deflection", "slope")

    def __init__(self, deflection, slope=0.0, axial=0.0, length_study=False):
        super().__init__(deflection, slope, axial, length_study)


class LrfdLoad:
    """An unfactored LRFD load of ``kind`` (1-13): shear, moment, axial force
    and an optional distributed load [(depth, intensity), ...]."""

    def __init__(self, kind, shear=0.0, moment=0.0, axial=0.0, distributed=()):
        self.kind = _integer("kind", kind, 1, 13)
        self.shear = _number("shear", shear)
        self.moment = _number("moment", moment)
        self.axial = _number("axial", axial)
        self.distributed = [(_number("depth", d), _number("intensity", w)) for d, w in distributed]
        if len(self.distributed) == 1 or len(self.distributed) > 100:
            raise ValueError("a distributed load has 0 or 2 to 100 points")


class LrfdCombination:
    """Load factors of the 13 LRFD load kinds (a list, or a {kind: factor}
    dict) and the moment and shear resistance factors."""

    def __init__(self, name, factors, phi_moment=1.0, phi_shear=1.0):
        if isinstance(factors, dict):
            factors = [factors.get(k, 0.0) for k in range(1, 14)]
        if len(factors) != 13:
            raise ValueError("an LRFD combination has 13 load factors")
        self.name = str(name)
        self.factors = [_number("load factor", f, non_negative=True) for f in factors]
        self.phi_moment = _number("phi_moment", phi_moment, positive=True, high=1.0)
        self.phi_shear = _number("phi_shear", phi_shear, positive=True, high=1.0)


class CheckResult:
    """The engine's checks of a model: ``code`` 0 when it would run,
    ``messages`` and ``report`` as the engine wrote them."""

    def __init__(self, code, report, messages):
        self.code, self.report, self.messages = code, report, messages

    @property
    def ok(self):
        return self.code <= 0

    def __repr__(self):
        return f"CheckResult(code={self.code}, {_engine.result_code_meaning(self.code)!r})"


# ------------------------------------------------------------------------- model

# Design codes of the interaction diagrams, as the input names them.
DESIGN_CODES = ("AASHTO", "ACI318", "Eurocode2")


class Model:
    """One pile analysis: sections from the head down, soil layers, loads and
    options. Depths are below the pile head."""

    def __init__(self, units="SI", title="", *, increments=100, max_iterations=500, tolerance=None,
                 max_deflection=None, cyclic=False, cycles=0, print_increment=1, summary_only=False,
                 ei_only=False, stiffness_matrix=False, design_code=None):
        if units not in ("SI", "USCS"):
            raise ValueError(f"units must be 'SI' or 'USCS', not {units!r}")
        self.units = units
        self.title = str(title)
        self.increments = _integer("increments", increments, 40, 500)
        self.max_iterations = _integer("max_iterations", max_iterations, 30, 1000)
        default_tol = 2.54e-7 if units == "SI" else 1.0e-5
        self.tolerance = _number("tolerance", default_tol if tolerance is None else tolerance, positive=True,
                                 high=0.00254 if units == "SI" else 0.1)
        self.max_deflection = _number("max_deflection", 100.0
                                      if max_deflection is None else max_deflection, positive=True)
        self.cyclic = bool(cyclic)
        self.cycles = _integer("cycles", cycles, 0, 99999)
        self.print_increment = _integer("print_increment", print_increment, 1, 500)
        self.summary_only = bool(summary_only)
        self.ei_only = bool(ei_only)
        self.stiffness_matrix = bool(stiffness_matrix)
        # Interaction diagrams of the sections and the check of every load
        # case against them, to this design code; None computes none.
        if design_code not in (None,) + DESIGN_CODES:
            raise ValueError(f"design_code must be None or one of {', '.join(DESIGN_CODES)}, not {design_code!r}")
        self.design_code = design_code
        self.sections, self.layers, self.loads = [], [], []
        self.distributed_load = []
        self.lrfd_loads, self.lrfd_combinations = [], []
        self.tip_shear = []
        self.ground_slope = 0.0
        self.batter = 0.0
        self.py_multipliers = []
        self.soil_movements = []
        self.output_depths = []
        self.thrusts = []
        self._text = None

    # building
    def add_section(self, section):
        if not isinstance(section, _Section):
            raise ValueError("add_section takes a section object (DrilledShaft, SteelPipe, ...)")
        if len(self.sections) >= 20:
            raise ValueError("a pile has at most 20 sections")
        if self.units == "SI":
            # Section sizes in SI are metres: a 600 mm shaft given as 600
            # would be a 600 m one.
            for name in ("diameter", "width", "depth", "wall", "flange_width"):
                value = getattr(section, name, None)
                values = value if isinstance(value, tuple) else (value,)
                if any(isinstance(v, float) and v > 10.0 for v in values):
                    raise ValueError(f"{name} {max(values)} m is not a pile section: SI lengths are in metres "
                                     f"(the file's millimetres are written for you)")
        self.sections.append(section)
        return self

    def add_layer(self, layer):
        if not isinstance(layer, _Layer):
            raise ValueError("add_layer takes a soil layer object (SoftClay, Sand, ...)")
        if len(self.layers) >= 80:
            raise ValueError("a profile has at most 80 layers")
        if self.layers and layer.top < self.layers[-1].bottom:
            raise ValueError(f"layer top {layer.top} is above the bottom of the layer over it")
        self.layers.append(layer)
        return self

    def add_load(self, load):
        if not isinstance(load, _Load):
            raise ValueError("add_load takes ShearMoment, ShearSlope, ... objects")
        if len(self.loads) >= 100:
            raise ValueError("at most 100 pile-head load cases")
        self.loads.append(load)
        return self

    def set_slope_and_batter(self, ground_slope=0.0, batter=0.0):
        self.ground_slope = _number("ground_slope", ground_slope, low=-89.0, high=89.0)
        self.batter = _number("batter", batter, low=-89.0, high=89.0)
        return self

    def set_py_multipliers(self, points):
        """[(depth, p-multiplier, y-multiplier), ...]"""
        self.py_multipliers = [(_number("depth", d), _number("p_multiplier", p, non_negative=True),
                                _number("y_multiplier", y, positive=True)) for d, p, y in points]
        return self

    def set_soil_movements(self, points):
        """[(depth, movement), ...] (movement in metres for SI)."""
        if not 2 <= len(points) <= 100:
            raise ValueError("soil movements need 2 to 100 points")
        self.soil_movements = [(_number("depth", d), _number("movement", m)) for d, m in points]
        return self

    def set_tip_shear(self, points):
        """[(displacement, force), ...]"""
        self.tip_shear = [(_number("displacement", d), _number("force", f)) for d, f in points]
        return self

    def set_output_depths(self, depths):
        self.output_depths = [_number("depth", d, non_negative=True) for d in depths]
        return self

    @property
    def length(self):
        return sum(s.length for s in self.sections if not isinstance(s, Micropile))

    # text
    def to_trv(self):
        """The model as a current-format (TREVAS6) input text."""
        if self._text is not None:
            return self._text
        u = _Units(self.units)
        out = ["TREVAS6", "TITLE"]
        title = self.title.splitlines()[:5]
        out += title + [""] * (5 - len(title))
        yn = lambda name, flag: f"{name} {'YES' if flag else 'NO'}"
        lrfd = bool(self.lrfd_loads)
        out += ["OPTIONS", f"Units {self.units}", yn("UseLRFD", lrfd), yn("ComputeKmatrix", self.stiffness_matrix),
                yn("UseTipShear", bool(self.tip_shear)), yn("UseSoilMovement", bool(self.soil_movements)),
                yn("UsePYModifiers", bool(self.py_multipliers)), yn("ComputeEIOnly", self.ei_only),
                f"Loading {'CYCLIC' if self.cyclic else 'STATIC'}{self.cycles:6d}",
                f"MaxIterations {self.max_iterations}", f"MaxDeflection {_real(self.max_deflection)}",
                f"Tolerance {_real(self.tolerance)}", f"Increments {self.increments}",
                yn("PrintSummaryOnly", self.summary_only), f"PrintIncrement {self.print_increment}",
                yn("PrintPYCurves", bool(self.output_depths)), yn("ComputeInteraction", self.design_code is not None)]
        if self.design_code is not None:
            out.append(f"DesignCode {self.design_code}")
        if self.sections:
            out += ["SECTIONS", str(len(self.sections))]
            for k, s in enumerate(self.sections, 1):
                out += [str(k), str(s.type_code()), _real(s.length)] + s.lines(u)
        if self.layers:
            out += ["SOIL LAYERS", str(len(self.layers))]
            for layer in self.layers:
                out.append(f"{layer.code} {_real(layer.top)} {_real(layer.bottom)}")
                out += layer.lines()
            rocks = [layer.rock_line(k) for k, layer in enumerate(self.layers, 1) if isinstance(layer, MassiveRock)]
            rocks = [line for line in rocks if line is not None]
            if rocks:
                out += ["MASSIVE ROCK", str(len(rocks))] + rocks
        if self.tip_shear:
            out += ["TIP SHEAR", str(len(self.tip_shear))]
            out += [f"{k} {_real(d)} {_real(f)}" for k, (d, f) in enumerate(self.tip_shear, 1)]
        if self.ground_slope or self.batter:
            out += ["PILE BATTER AND SLOPE", _real(self.ground_slope), _real(self.batter)]
        if self.py_multipliers:
            out += ["GROUP EFFECT FACTORS", str(len(self.py_multipliers))]
            out += [f"{k} {_real(d)} {_real(p)} {_real(y)}" for k, (d, p, y) in enumerate(self.py_multipliers, 1)]
        if self.soil_movements:
            out += ["SOIL MOVEMENTS", str(len(self.soil_movements))]
            out += [f"{k} {_real(d)} {u.length(m)}" for k, (d, m) in enumerate(self.soil_movements, 1)]
        if self.output_depths:
            out += ["DEPTHS OF PRINTED P-Y CURVES", str(len(self.output_depths))]
            out += [f"{k} {_real(d)}" for k, d in enumerate(self.output_depths, 1)]
        if self.ei_only and self.thrusts:
            out += ["AXIAL THRUST LOADS", str(len(self.thrusts))]
            out += [f"{k} {_real(t)}" for k, t in enumerate(self.thrusts, 1)]
        if self.loads or self.distributed_load:
            out += ["LOADING", str(len(self.loads))] + [ld.line(j) for j, ld in enumerate(self.loads, 1)]
            out += [str(len(self.distributed_load))]
            out += [f"{k} {_real(d)} {_real(w)}" for k, (d, w) in enumerate(self.distributed_load, 1)]
        if lrfd:
            out += ["LRFD LOADS", str(len(self.lrfd_loads))]
            for i, ld in enumerate(self.lrfd_loads, 1):
                out.append(f"{i} {ld.kind} {_real(ld.shear)} {_real(ld.moment)} {_real(ld.axial)} "
                           f"{len(ld.distributed)}")
                out += [f"{k} {_real(d)} {_real(w)}" for k, (d, w) in enumerate(ld.distributed, 1)]
            out += ["LRFD FACTORS AND CASES", str(len(self.lrfd_combinations))]
            for k, c in enumerate(self.lrfd_combinations, 1):
                out.append(" ".join([str(k)] + [_real(f) for f in c.factors] + [_real(c.phi_moment),
                                                                                   _real(c.phi_shear)]))
                out.append(c.name)
        out.append("END")
        return "\n".join(out) + "\n"

    def write(self, path):
        with open(path, "w", encoding="latin-1", newline="\n") as f:
            f.write(self.to_trv())

    @classmethod
    def from_text(cls, text):
        """A model of an input text of any of the three formats: the builder's
        objects when they hold every value of the file, else the
        current-format text the engine writes of it (``editable`` False)."""
        code, tag, current, why, report = _engine.to_current_format(text)
        if code != 0:
            raise ValueError(f"the input cannot be read: {_engine.result_code_meaning(code)}\n"
                             + "\n".join(l for l in report.splitlines() if l.strip())[-2000:])
        if current is None:
            raise ValueError(f"the model of this {tag.strip() or 'older-format'} file cannot be written in the "
                             f"current format: {why}")
        # An editable model when the builder holds every value of the file
        # (its own text then reads to the same model), else the text itself.
        from .reader import _Unsupported, parse
        try:
            model = parse(current)
            code, _tag, again, _why, _report = _engine.to_current_format(model.to_trv())
            if code == 0 and again == current:
                return model
        except (_Unsupported, ValueError, KeyError, IndexError, TypeError):
            pass
        units = re.search(r"^Units (\w+)", current, re.M).group(1)
        model = cls(units="SI" if units == "SI" else "USCS")
        model._text = current
        model.title = current.split("\n")[2]
        return model

    @property
    def editable(self):
        """False for a model read from a file that the builder cannot hold
        value by value (it is kept, and run, as its text)."""
        return self._text is None

    @classmethod
    def read(cls, path):
        """Reads an input file of any of the three formats."""
        with open(os.fspath(path), encoding="latin-1", newline="") as f:
            return cls.from_text(f.read())

    def copy(self):
        return copy.deepcopy(self)

    def check(self):
        """The engine's own checks of the input, without an analysis."""
        code, report, _plot, messages = _engine.run(self.to_trv(), check_only=True)
        return CheckResult(code, report, messages)

    def run(self, fixed_time=None):
        """Runs the analysis in memory (the GIL is released while it runs)."""
        from .result import Result
        text = self.to_trv()
        code, report, plot, messages = _engine.run(text, check_only=False, fixed_time=fixed_time)
        return Result(code, report, plot, messages, self.units)

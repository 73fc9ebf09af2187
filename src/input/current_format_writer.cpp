#include "input/current_format_writer.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>
#include <vector>

#include "input/current_format.hpp"

namespace trevasc::input {
namespace {

// The shortest decimal text that reads back as `value`.
std::string Shortest(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// The text of a file value that the reader turns into `stored` by `read`
// (a division by 1000, a degree-to-radian product): the shortest text of the
// double next to `guess` that `read` maps exactly onto `stored`. Division and
// multiplication are monotonic, so one of the few doubles around the inverse
// does; if none does, the nearest is written.
std::string InverseText(double stored, double guess, const std::function<double(double)>& read) {
    if (!std::isfinite(guess) || read(guess) == stored) return Shortest(guess);
    double down = guess, up = guess;
    for (int step = 0; step < 8; ++step) {
        down = std::nextafter(down, -INFINITY);
        up = std::nextafter(up, INFINITY);
        if (read(up) == stored) return Shortest(up);
        if (read(down) == stored) return Shortest(down);
    }
    return Shortest(guess);
}

std::string Divided(double stored, double divisor) {
    return InverseText(stored, stored * divisor, [divisor](double v) { return v / divisor; });
}

// The text of a value that the reader multiplied by `factor` when it stored it.
std::string Multiplied(double stored, double factor) {
    return InverseText(stored, stored / factor, [factor](double v) { return v * factor; });
}

std::string Degrees(double radians) {
    return InverseText(radians, radians * kDegreesPerHalfTurn / kPi,
                       [](double v) { return v * kPi / kDegreesPerHalfTurn; });
}

std::string TrimRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

class Writer {
public:
    explicit Writer(const model::ProblemData& problem)
        : p_(problem), si_(problem.Options.Units == model::UnitSystem::SI) {}

    std::string Text() {
        CheckWritable();
        Line("TREVAS6");
        WriteTitle();
        WriteOptions();
        if (!p_.Sections.empty()) WriteSections();
        if (!p_.Layers.empty()) WriteSoilLayers();
        WriteMassiveRock();
        WriteOptionalBlocks();
        WriteLoads();
        Line("END");
        return std::move(out_);
    }

private:
    void Line(std::string_view text) {
        out_ += text;
        out_ += '\n';
    }
    void Value(double value) { Line(Shortest(value)); }
    void Count(std::size_t count) { Line(std::to_string(count)); }
    void Int(std::int32_t value) { Line(std::to_string(value)); }
    void YesNo(std::string_view name, bool yes) { Line(std::string(name) + (yes ? " YES" : " NO")); }
    // (mm) in SI files, stored in metres.
    std::string Length(double metres) const { return si_ ? Divided(metres, kMillimetresPerMetre) : Shortest(metres); }
    std::string Area(double square_metres) const {
        return si_ ? Divided(square_metres, kSquareMillimetresPerSquareMetre) : Shortest(square_metres);
    }
    std::string Inertia(double metres4) const {
        return si_ ? Divided(metres4, kMillimetres4PerMetre4) : Shortest(metres4);
    }

    void CheckWritable() const {
        const int mode = p_.Options.AnalysisMode;
        if (mode != 2 && mode != 3) {
            throw UnwritableModel("analysis mode " + std::to_string(mode) +
                                  " of the earlier formats has no current-format form; the current format analyses "
                                  "the sections alone or the pile with their nonlinear bending stiffness (modes 2 "
                                  "and 3)");
        }
        if (p_.KYL != 0) {
            throw UnwritableModel("the length-study indicator of the earlier formats has no current-format form; "
                                  "the current format asks for the study per load case");
        }
        // The earlier formats' sections analysed alone (mode 2) have no
        // property table and none of the pile options the current format
        // checks; they are refused here with the rest of such tables.
        if (p_.SectionPropertyTable.size() != 2 * p_.Sections.size()) {
            throw UnwritableModel("a pile property table that is not two rows per section has no current-format form");
        }
        // The current format takes the sections' thrust levels from the loads
        // (distinct, ascending, in kips for US customary units); a list given
        // otherwise must be that list.
        if (!p_.AxialThrustList.empty() && !p_.Options.ComputeInteraction && DerivedThrusts() != p_.AxialThrustList) {
            throw UnwritableModel("axial thrust levels that are not the distinct thrusts of the loads have no "
                                  "current-format form");
        }
    }

    bool ThrustsOnly() const {
        return p_.Options.AnalysisMode == 2 && p_.PileHeadLoads.empty() && !p_.AxialThrustList.empty();
    }

    // (lb) the file's thrust of a stored level of kips.
    std::string Thrust(double level) const {
        return p_.Options.Units == model::UnitSystem::USCS ? Divided(level, kPoundsPerKip) : Shortest(level);
    }

    std::vector<double> DerivedThrusts() const {
        std::vector<double> values;
        if (ThrustsOnly()) {
            values = p_.AxialThrustList;
        } else {
            if (p_.Options.UseLrfd) {
                for (const model::LrfdLoad& load : p_.LrfdLoads) values.push_back(load.AxialForce);
            } else {
                for (const model::PileHeadLoad& load : p_.PileHeadLoads) values.push_back(load.AxialThrust);
            }
            if (p_.Options.Units == model::UnitSystem::USCS) {
                for (double& value : values) value /= kPoundsPerKip;
            }
        }
        std::sort(values.begin(), values.end());
        values.erase(std::unique(values.begin(), values.end()), values.end());
        return values;
    }

    void WriteTitle() {
        Line("TITLE");
        for (const std::string& line : p_.TitleLines) Line(TrimRight(line));
    }

    void WriteOptions() {
        const model::AnalysisOptions& o = p_.Options;
        Line("OPTIONS");
        Line(o.Units == model::UnitSystem::USCS ? "Units USCS"
             : o.Units == model::UnitSystem::SI ? "Units SI"
                                                : "Units GENERAL");
        YesNo("UseLRFD", o.UseLrfd);
        YesNo("ComputeKmatrix", o.ComputeKmatrix);
        YesNo("UseTipShear", o.UseTipShear);
        YesNo("UseSoilMovement", o.UseSoilMovement);
        YesNo("UsePYModifiers", o.UsePyModifiers);
        YesNo("ComputeEIOnly", o.AnalysisMode == 2);
        // Columns 9-14 the kind, 15-20 the number of cycles.
        std::string cycles = Shortest(o.NumberOfCycles);
        if (cycles.size() < 6) cycles.insert(0, 6 - cycles.size(), ' ');
        if (cycles.size() > 6) {
            throw UnwritableModel("the number of cycles " + cycles + " does not fit the six columns of its field");
        }
        Line(std::string("Loading ") + (o.CyclicLoading ? "CYCLIC" : "STATIC") + cycles);
        Line("MaxIterations " + std::to_string(o.IterationLimit));
        Line("MaxDeflection " + Shortest(o.MaxAllowableDeflection));
        Line("Tolerance " + Shortest(o.ConvergenceTolerance));
        Line("Increments " + std::to_string(o.NumberOfIncrements));
        YesNo("PrintSummaryOnly", o.PrintSummaryOnly);
        Line("PrintIncrement " + std::to_string(o.PrintIncrement));
        YesNo("PrintPYCurves", o.PrintPyCurves);
        YesNo("ComputeInteraction", o.ComputeInteraction);
        if (o.ComputeInteraction) {
            static constexpr std::array<std::string_view, 3> kCodes = {"AASHTO", "ACI318", "Eurocode2"};
            if (o.DesignCode < 1 || o.DesignCode > 3) throw UnwritableModel("no interaction design code");
            Line("DesignCode " + std::string(kCodes[static_cast<std::size_t>(o.DesignCode - 1)]));
        }
    }

    void WriteConcrete(const model::ConcreteData& c) {
        Value(c.ConcreteStrength);
        Line(Length(c.MaxAggregateSize));
        if (c.UseDefaultTensileStrength) {
            Line("Use default concrete tensile strength");
        } else {
            Line("Override concrete tensile strength");
            Value(c.TensileStrength);
        }
        if (c.UseInputStressStrain) {
            Line("Input stress-strain curve for concrete");
            Count(c.ConcreteCurve.size());
            for (std::size_t j = 0; j < c.ConcreteCurve.size(); ++j) {
                Line(std::to_string(j + 1) + " " + Shortest(c.ConcreteCurve[j][0]) + " " +
                     Shortest(c.ConcreteCurve[j][1]));
            }
        } else {
            Line("Use internal stress-strain curve for concrete");
        }
    }

    void WriteRebar(const model::RebarData& r) {
        const bool none = r.Bars.empty() && r.BarCount == 0 && !r.RebarInCircle && r.RebarYieldStress == 0.0 &&
                          r.RebarModulus == 0.0;
        if (none) {
            Line("No rebar");
            return;
        }
        Line(r.RebarSameAsAbove ? "Rebar Arrangement Same As Section Above"
                                : "Rebar Arrangement Not Same As Section Above");
        if (r.RebarInCircle) {
            Line("Rebar in circle");
            Value(r.RebarYieldStress);
            Value(r.RebarModulus);
            Int(r.BarPositions);
            Int(r.BarsPerBundle);
            Line(Length(r.BarDiameter));
            Line(Area(r.BarArea));
            Line(Length(r.ConcreteCover));
            Line(Length(r.RebarOffset));
            return;
        }
        Line("Rebar in noncircular pattern");
        Value(r.RebarYieldStress);
        Value(r.RebarModulus);
        Count(r.Bars.size());
        for (std::size_t j = 0; j < r.Bars.size(); ++j) {
            const model::BarRecord& b = r.Bars[j];
            Line(std::to_string(j + 1) + " " + std::to_string(b.BarSizeCode) + " " + Length(b.BarDiameter) + " " +
                 Area(b.BarArea) + " " + Length(b.BarX) + " " + Length(b.BarY));
        }
    }

    void WriteStrands(const model::StrandData& s) {
        if (s.AutoPositionStrands) {
            Line("Autoposition strands");
            Int(s.StrandTypeCode);
            Int(s.StrandSizeCode);
            Int(s.StrandCount);
            Value(s.InitialPrestressForce);
            Value(s.PrestressLossFraction);
            Line(Length(s.StrandCover));
            Int(s.StrandPattern);
            return;
        }
        Line("Manually-positioned strands");
        Int(s.StrandTypeCode);
        Count(s.Strands.size());
        Value(s.InitialPrestressForce);
        Value(s.PrestressLossFraction);
        for (std::size_t j = 0; j < s.Strands.size(); ++j) {
            const model::BarRecord& b = s.Strands[j];
            Line(std::to_string(j + 1) + " " + std::to_string(s.StrandTypeCode) + " " + std::to_string(b.BarSizeCode) +
                 " " + Length(b.BarX) + " " + Length(b.BarY));
        }
    }

    void WriteElastic(const model::PileSection& s) {
        const model::ElasticData& e = s.Elastic;
        const bool plastic = s.SectionType == model::kElasticPlastic;
        Int(e.ElasticShape);
        Value(e.ElasticModulus);
        switch (e.ElasticShape) {
            case 1:
            case 3:
                if (plastic) {
                    Value(e.PlasticMomentTop);
                    Value(e.PlasticMomentBottom);
                }
                Line(Length(e.WidthTop));
                Line(Length(e.WidthBottom));
                Line(Length(e.DepthTop));
                Line(Length(e.DepthBottom));
                Line(Area(e.AreaTop));
                Line(Area(e.AreaBottom));
                Line(Inertia(e.InertiaTop));
                Line(Inertia(e.InertiaBottom));
                break;
            case 2:
            case 6:
                if (plastic) {
                    Value(e.PlasticMomentTop);
                    Value(e.PlasticMomentBottom);
                }
                Line(Length(e.WidthTop));
                Line(Length(e.WidthBottom));
                Line(Area(e.AreaTop));
                Line(Area(e.AreaBottom));
                Line(Inertia(e.InertiaTop));
                Line(Inertia(e.InertiaBottom));
                if (e.ElasticShape == 6) Line(Length(e.DrilledHoleDiameter));
                break;
            case 4:
            case 5:
                if (plastic) Value(e.PlasticMomentTop);
                Line(Length(e.WidthTop));
                Line(Length(e.DepthTop));
                Value(e.FlangeThickness);  // stored as entered
                Value(e.WebThickness);
                Line(Area(e.AreaTop));
                Line(Inertia(e.InertiaTop));
                break;
            default:
                throw UnwritableModel("elastic section shape " + std::to_string(e.ElasticShape) + " outside 1 to 6");
        }
    }

    void WriteUserEI(const model::UserEIData& user) {
        Count(user.ThrustLevels.size());
        for (const model::UserEIThrustLevel& level : user.ThrustLevels) {
            Value(level.AxialThrust);
            Count(level.Points.size());
            for (const auto& point : level.Points) {
                Value(point[0]);
                Value(point[1]);
            }
        }
    }

    void WriteSections() {
        Line("SECTIONS");
        Count(p_.Sections.size());
        for (std::size_t k = 0; k < p_.Sections.size(); ++k) {
            const model::PileSection& s = p_.Sections[k];
            Count(k + 1);
            const bool void_core = s.SectionType == model::kDrilledShaftWithCasingAndCore && !s.b_FillCoreWithConcrete;
            Int(void_core ? kVoidCoreTypeCode : s.SectionType);
            Value(s.SectionLength);
            switch (s.SectionType) {
                case model::kRectangularConcrete:
                    Line(Length(s.RectDepth));
                    Line(Length(s.RectWidth));
                    break;
                case model::kDrilledShaft:
                case model::kCircularSolidPrestressed:
                case model::kOctagonalSolidPrestressed:
                case model::kUserDefinedEI:
                    Line(Length(s.SectionWidth));
                    break;
                case model::kDrilledShaftWithCasing:
                case model::kSteelPipe:
                    Line(Length(s.SectionWidth));
                    Line(Length(s.SteelThickness));
                    Value(s.SteelYieldStress);
                    Value(s.SteelModulus);
                    break;
                case model::kDrilledShaftWithCasingAndCore:
                    Line(Length(s.SectionWidth));
                    Line(Length(s.SteelThickness));
                    Value(s.SteelYieldStress);
                    Value(s.SteelModulus);
                    Line(Length(s.CoreDiameter));
                    Line(Length(s.CoreThickness));
                    Value(s.CoreYieldStress);
                    Value(s.CoreModulus);
                    break;
                case model::kCircularHollowPrestressed:
                case model::kOctagonalHollowPrestressed:
                    Line(Length(s.SectionWidth));
                    Line(Length(s.VoidDiameter));
                    break;
                case model::kSquareSolidPrestressed:
                    Line(Length(s.SectionWidth));
                    Line(Length(s.CornerChamfer));
                    break;
                case model::kSquareHollowPrestressed:
                    Line(Length(s.SectionWidth));
                    Line(Length(s.VoidDiameter));
                    Line(Length(s.CornerChamfer));
                    break;
                default:
                    break;
            }
            switch (s.SectionType) {
                case model::kRectangularConcrete:
                case model::kDrilledShaft:
                case model::kDrilledShaftWithCasing:
                case model::kDrilledShaftWithCasingAndCore:
                    WriteConcrete(s.Concrete);
                    WriteRebar(s.Rebar);
                    break;
                case model::kCircularSolidPrestressed:
                case model::kCircularHollowPrestressed:
                case model::kSquareSolidPrestressed:
                case model::kSquareHollowPrestressed:
                case model::kOctagonalSolidPrestressed:
                case model::kOctagonalHollowPrestressed:
                    WriteConcrete(s.Concrete);
                    WriteStrands(s.Strand);
                    break;
                case model::kElasticPile:
                case model::kElasticPlastic:
                    WriteElastic(s);
                    break;
                case model::kUserDefinedEI:
                    WriteUserEI(s.UserEI);
                    break;
                default:
                    break;
            }
        }
    }

    // The values of one soil model line, in the reader's order.
    std::string ModelLine(std::int32_t code, const model::SoilPointParams& q) const {
        auto join = [](std::initializer_list<std::string> values) {
            std::string line;
            for (const std::string& value : values) line += (line.empty() ? "" : " ") + value;
            return line;
        };
        auto r = [](double v) { return Shortest(v); };
        switch (code) {
            case model::kSoftClay:
            case model::kStiffClayWithoutWater:
                return join({r(q.EffUnitWeight), r(q.Cohesion), r(q.Epsilon50)});
            case model::kStiffClayWithWater:
            case model::kStiffClayWithK:
                return join({r(q.EffUnitWeight), r(q.Cohesion), r(q.Epsilon50), r(q.SubgradeK)});
            case model::kSand:
            case model::kApiSand:
                return join({r(q.EffUnitWeight), r(q.FrictionAngle), r(q.SubgradeK)});
            case model::kLiquefiedSand:
                return r(q.EffUnitWeight);
            case model::kWeakRock:
                return join({r(q.EffUnitWeight), r(q.Cohesion), r(q.SubgradeK), r(q.RQD), r(q.Epsilon50)});
            case model::kVuggyLimestone:
                return join({r(q.EffUnitWeight), r(q.Cohesion)});
            case model::kPiedmont:
                return join({r(q.EffUnitWeight), std::to_string(static_cast<std::int32_t>(q.PiedmontTestType)),
                             r(q.N60), r(q.ConeTipResistance), r(q.DilatometerModulus), r(q.PressuremeterModulus)});
            case model::kCementedSilt:
                return join({r(q.EffUnitWeight), r(q.Cohesion), r(q.FrictionAngle), r(q.SubgradeK), r(q.Epsilon50)});
            case model::kLoess:
                return join({r(q.EffUnitWeight), r(q.ConeTipResistance)});
            case model::kElasticSubgrade:
                return join({r(q.EffUnitWeight), r(q.ElasticSubgradeModulus)});
            case model::kSoftClayJ:
                return join({r(q.EffUnitWeight), r(q.Cohesion), r(q.Epsilon50), r(q.J)});
            default:
                return std::string();
        }
    }

    void WriteUserCurve(const model::SoilPointParams& q, const model::UserPyCurve& curve) {
        Line(Shortest(q.EffUnitWeight) + " " + std::to_string(curve.Points.size()));
        for (const auto& point : curve.Points) Line(Shortest(point[0]) + " " + Shortest(point[1]));
    }

    void WriteSoilLayers() {
        Line("SOIL LAYERS");
        Count(p_.Layers.size());
        for (const model::SoilLayer& layer : p_.Layers) {
            Line(std::to_string(layer.KSOIL) + " " + Shortest(layer.XLayerTop) + " " + Shortest(layer.XLayerBottom));
            if (layer.KSOIL == model::kUserPy) {
                WriteUserCurve(layer.Top, layer.UserCurveTop);
                WriteUserCurve(layer.Bottom, layer.UserCurveBottom);
            } else if (layer.KSOIL != model::kMassiveRock && layer.KSOIL != model::kFrozenSoil) {
                Line(ModelLine(layer.KSOIL, layer.Top));
                Line(ModelLine(layer.KSOIL, layer.Bottom));
            }
        }
    }

    // Massive rock layers carry their values in a block of their own after
    // SOIL LAYERS; without it a rewritten file would lose them. The reader
    // holds US customary strengths per square foot, so they are given back
    // per square inch as they were read.
    void WriteMassiveRock() {
        if (p_.MassiveRockLayers.empty()) return;
        Line("MASSIVE ROCK");
        Count(p_.MassiveRockLayers.size());
        const bool uscs = p_.Options.Units == model::UnitSystem::USCS;
        for (const std::int32_t number : p_.MassiveRockLayers) {
            const model::SoilLayer& layer = p_.Layers[static_cast<std::size_t>(number - 1)];
            std::string line = std::to_string(number);
            for (const model::SoilPointParams* q : {&layer.Top, &layer.Bottom}) {
                line += " " + Shortest(q->EffUnitWeight) + " " +
                        (uscs ? Multiplied(q->Cohesion, kSquareInchesPerSquareFoot) : Shortest(q->Cohesion)) + " " +
                        Shortest(q->SubgradeK);
            }
            Line(line);
        }
    }

    void WriteOptionalBlocks() {
        const model::AnalysisOptions& o = p_.Options;
        if (!p_.TipShearCurve.empty()) {
            Line("TIP SHEAR");
            Count(p_.TipShearCurve.size());
            for (std::size_t k = 0; k < p_.TipShearCurve.size(); ++k) {
                Line(std::to_string(k + 1) + " " + Shortest(p_.TipShearCurve[k][0]) + " " +
                     Shortest(p_.TipShearCurve[k][1]));
            }
        }
        if (p_.GroundSlopeAngle != 0.0 || p_.PileBatterAngle != 0.0) {
            Line("PILE BATTER AND SLOPE");
            Line(Degrees(p_.GroundSlopeAngle));
            Line(Degrees(p_.PileBatterAngle));
        }
        // The options set the modifier count to 1 or 0 until the block gives
        // the points.
        if (!p_.PyModifierProfile.empty() || p_.PyModifierCount != (o.UsePyModifiers ? 1 : 0)) {
            Line("GROUP EFFECT FACTORS");
            Int(p_.PyModifierProfile.empty() ? std::min(p_.PyModifierCount, 0)
                                             : static_cast<std::int32_t>(p_.PyModifierProfile.size()));
            for (std::size_t k = 0; k < p_.PyModifierProfile.size(); ++k) {
                const model::PyModifierPoint& m = p_.PyModifierProfile[k];
                Line(std::to_string(k + 1) + " " + Shortest(m.Depth) + " " + Shortest(m.PMultiplier) + " " +
                     Shortest(m.YMultiplier));
            }
        }
        if (o.UseSoilMovement && !p_.SoilMovementProfile.empty()) {
            Line("SOIL MOVEMENTS");
            Count(p_.SoilMovementProfile.size());
            for (std::size_t k = 0; k < p_.SoilMovementProfile.size(); ++k) {
                const auto& m = p_.SoilMovementProfile[k];
                Line(std::to_string(k + 1) + " " + Shortest(m[0]) + " " +
                     (si_ ? Divided(m[1], kMillimetresPerMetre) : Shortest(m[1])));
            }
        }
        if (o.PrintPyCurves && !p_.PyOutputDepths.empty()) {
            Line("DEPTHS OF PRINTED P-Y CURVES");
            Count(p_.PyOutputDepths.size());
            for (std::size_t k = 0; k < p_.PyOutputDepths.size(); ++k) {
                Line(std::to_string(k + 1) + " " + Shortest(p_.PyOutputDepths[k]));
            }
        }
    }

    void WriteLoads() {
        if (ThrustsOnly()) {
            Line("AXIAL THRUST LOADS");
            Count(p_.AxialThrustList.size());
            for (std::size_t j = 0; j < p_.AxialThrustList.size(); ++j) {
                Line(std::to_string(j + 1) + " " + Thrust(p_.AxialThrustList[j]));
            }
        }
        if (!p_.PileHeadLoads.empty() || !p_.DistributedLoad.empty()) {
            Line("LOADING");
            Count(p_.PileHeadLoads.size());
            for (std::size_t j = 0; j < p_.PileHeadLoads.size(); ++j) {
                const model::PileHeadLoad& l = p_.PileHeadLoads[j];
                // Pile-length option: 1 the given length only, 0 adds the study.
                Line(std::to_string(j + 1) + " " + std::to_string(l.LoadingType) + " " + Shortest(l.Condition1) + " " +
                     Shortest(l.Condition2) + " " + Shortest(l.AxialThrust) + (l.ComputeTopDeflVsLength ? " 0" : " 1"));
            }
            Count(p_.DistributedLoad.size());
            for (std::size_t k = 0; k < p_.DistributedLoad.size(); ++k) {
                Line(std::to_string(k + 1) + " " + Shortest(p_.DistributedLoad[k][0]) + " " +
                     Shortest(p_.DistributedLoad[k][1]));
            }
        }
        if (!p_.LrfdLoads.empty()) {
            Line("LRFD LOADS");
            Count(p_.LrfdLoads.size());
            for (std::size_t i = 0; i < p_.LrfdLoads.size(); ++i) {
                const model::LrfdLoad& l = p_.LrfdLoads[i];
                Line(std::to_string(i + 1) + " " + std::to_string(l.LrfdLoadType) + " " + Shortest(l.HorizontalForce) +
                     " " + Shortest(l.Moment) + " " + Shortest(l.AxialForce) + " " +
                     std::to_string(l.DistributedLoad.size()));
                for (std::size_t k = 0; k < l.DistributedLoad.size(); ++k) {
                    Line(std::to_string(k + 1) + " " + Shortest(l.DistributedLoad[k][0]) + " " +
                         Shortest(l.DistributedLoad[k][1]));
                }
            }
        }
        if (!p_.LrfdCombinations.empty()) {
            Line("LRFD FACTORS AND CASES");
            Count(p_.LrfdCombinations.size());
            for (std::size_t k = 0; k < p_.LrfdCombinations.size(); ++k) {
                const model::LrfdCombination& c = p_.LrfdCombinations[k];
                std::string line = std::to_string(k + 1);
                for (double factor : c.LoadFactors) line += " " + Shortest(factor);
                line += " " + Shortest(c.MomentResistanceFactor) + " " + Shortest(c.ShearResistanceFactor);
                Line(line);
                Line(TrimRight(c.Name));
            }
        }
    }

    const model::ProblemData& p_;
    bool si_;
    std::string out_;
};

}  // namespace

std::string WriteCurrentFormat(const model::ProblemData& problem) { return Writer(problem).Text(); }

}  // namespace trevasc::input

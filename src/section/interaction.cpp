// P-M interaction diagrams by strain compatibility (see interaction.hpp for
// the method, the codes and the clauses followed).
#include "section/interaction.hpp"

#include <algorithm>
#include <cmath>

#include "model/units.hpp"
#include "section/materials.hpp"

namespace trevasc::section {
namespace {

// Ultimate concrete strain of the rectangular-block codes (ACI 318-19
// 22.2.2.1, AASHTO LRFD 5.6.2.1).
constexpr double kBlockUltimateStrain = 0.003;
// Width of the transition zone of ACI 318-19 Table 21.2.2: tension-controlled
// from eps_ty + 0.003.
constexpr double kAciTransitionWidth = 0.003;
// Yield strain taken for prestressing steel in the phi rules (ACI 318-19
// 21.2.2.1, AASHTO LRFD 5.6.2.1).
constexpr double kPrestressedYieldStrain = 0.002;
// EN 1992-1-1 partial factors (2.4.2.4, persistent and transient situations)
// and alpha_cc (3.1.6(1), recommended value 1.0).
constexpr double kGammaConcrete = 1.5;
constexpr double kGammaSteel = 1.15;
constexpr double kAlphaCc = 1.0;
// Uniform tension is represented by a strain far beyond every steel law's
// last branch, where each law gives its limiting strength.
constexpr double kUniformTensionStrain = -1.0;
// MPa per ksi.
constexpr double kMpaPerKsi = kKpaPerKsi / model::kKpaPerMpa;
// Strain of the extreme tension steel at which the sweep of neutral-axis
// depths ends before uniform tension.
constexpr double kLastSweepStrain = 0.05;

double ConcreteStrengthKsi(const SectionWorkspace& ws) {
    return ws.Units == model::UnitSystem::SI ? ws.m.fc / kKpaPerKsi : ws.m.fc;
}

// Concrete law of the code, set up once per diagram.
struct ConcreteLaw {
    DesignCode code = DesignCode::kAci318;
    // Rectangular block.
    double alpha1 = 0.85;
    double beta1 = 0.85;
    // Parabola-rectangle.
    double strength = 0.0;  // fc in the section's unit (nominal or design)
    double eps_c2 = 0.002;
    double eps_cu2 = 0.0035;
    double n = 2.0;

    double UltimateStrain() const {
        return code == DesignCode::kEurocode2 ? eps_cu2 : kBlockUltimateStrain;
    }
    double ParabolaStress(double eps) const {
        if (eps <= 0.0) return 0.0;
        if (eps >= eps_c2) return strength;
        return strength * (1.0 - std::pow(1.0 - eps / eps_c2, n));
    }
};

ConcreteLaw MakeConcreteLaw(const SectionWorkspace& ws, DesignCode code, bool design) {
    ConcreteLaw law;
    law.code = code;
    const double fc_ksi = ConcreteStrengthKsi(ws);
    // beta1: ACI 318-19 Table 22.2.2.4.3, AASHTO LRFD 5.6.2.2.
    law.beta1 = std::clamp(0.85 - 0.05 * (fc_ksi - 4.0), 0.65, 0.85);
    law.alpha1 = code == DesignCode::kAashto ? std::clamp(0.85 - 0.02 * (fc_ksi - 10.0), 0.75, 0.85) : 0.85;
    // EN 1992-1-1 Table 3.1 with fck in MPa.
    const double fck = fc_ksi * kMpaPerKsi;
    if (fck > 50.0) {
        const double r = std::pow((90.0 - std::min(fck, 90.0)) / 100.0, 4.0);
        law.eps_c2 = (2.0 + 0.085 * std::pow(fck - 50.0, 0.53)) / model::kPerMille;
        law.eps_cu2 = (2.6 + 35.0 * r) / model::kPerMille;
        law.n = 1.4 + 23.4 * r;
    }
    law.strength = design ? kAlphaCc * ws.m.fc / kGammaConcrete : ws.m.fc;
    return law;
}

// Linear strain profile eps(y) = top - kappa y over the depth y below the
// compression face; `block` is the depth of the rectangular stress block.
struct StrainProfile {
    double top = 0.0;
    double kappa = 0.0;
    double block = 0.0;
    double At(double y) const { return top - kappa * y; }
};

StrainProfile ProfileAtDepth(const SectionWorkspace& ws, const ConcreteLaw& law, double c) {
    StrainProfile profile;
    const double eps_cu = law.UltimateStrain();
    if (c == kUniformTension || c <= 0.0) {
        profile.top = kUniformTensionStrain;
        return profile;
    }
    if (c == kUniformCompression) {
        profile.top = law.code == DesignCode::kEurocode2 ? law.eps_c2 : eps_cu;
        profile.block = ws.D;
        return profile;
    }
    if (law.code == DesignCode::kEurocode2 && c > ws.D) {
        // Whole section compressed: rotation about the fibre at depth
        // (1 - eps_c2/eps_cu2) h, held at eps_c2.
        const double pivot = (1.0 - law.eps_c2 / law.eps_cu2) * ws.D;
        profile.kappa = law.eps_c2 / (c - pivot);
        profile.top = profile.kappa * c;
        return profile;
    }
    profile.kappa = eps_cu / c;
    profile.top = eps_cu;
    profile.block = std::min(law.beta1 * c, ws.D);
    return profile;
}

// Depth below the compression face of the extreme tension steel and its
// yield strain.
struct TensionSteel {
    double depth = 0.0;
    double eps_ty = kPrestressedYieldStrain;
    double fy_ksi = 60.0;
};

TensionSteel ExtremeTensionSteel(const SectionWorkspace& ws) {
    TensionSteel steel;
    const double to_ksi = ws.Units == model::UnitSystem::SI ? 1.0 / kKpaPerKsi : 1.0;
    steel.depth = ws.D;
    bool found = false;
    if (ws.HasCasing()) {
        steel.depth = ws.D;
        if (ws.m.SteelEs > 0.0) steel.eps_ty = ws.m.SteelFy / ws.m.SteelEs;
        steel.fy_ksi = ws.m.SteelFy * to_ksi;
        found = true;
    }
    if (!found) {
        double deepest = -1.0;
        for (const BarEntry& bar : ws.Bars) {
            if (bar.area <= 0.0) continue;
            deepest = std::max(deepest, ws.slices.SliceY[0] - bar.y);
        }
        if (ws.HasCoreSteel()) deepest = std::max(deepest, ws.D / 2.0 + ws.CoreDiameter / 2.0);
        if (deepest > 0.0) {
            steel.depth = deepest;
            found = true;
        }
        if (ws.IsPrestressed()) {
            steel.eps_ty = kPrestressedYieldStrain;
            steel.fy_ksi = ws.m.fy * to_ksi;
        } else if (ws.m.Es > 0.0) {
            steel.eps_ty = ws.m.fy / ws.m.Es;
            steel.fy_ksi = ws.m.fy * to_ksi;
        }
    }
    return steel;
}

// Mean fully plastic stress of a steel slice whose boundary strains are
// e_top and e_bottom: +fy on the compressed part, -fy on the rest (the
// slice taken as of uniform width), so that the resultant varies smoothly
// as the neutral axis crosses the slice.
double PlasticStress(double fy, double e_top, double e_bottom) {
    if (e_top >= 0.0 && e_bottom >= 0.0) return e_top == 0.0 && e_bottom == 0.0 ? 0.0 : fy;
    if (e_top <= 0.0 && e_bottom <= 0.0) return -fy;
    const double compressed = e_top > 0.0 ? e_top / (e_top - e_bottom) : e_bottom / (e_bottom - e_top);
    return fy * (2.0 * compressed - 1.0);
}

SectionResultant Resultant(const SectionWorkspace& ws, const ConcreteLaw& law, bool design, const StrainProfile& profile,
                           double tension_steel_depth) {
    const SliceTable& s = ws.slices;
    const double half = ws.D / 2.0;
    const double t = ws.t;
    const bool eurocode = law.code == DesignCode::kEurocode2;
    const double steel_factor = eurocode && design ? 1.0 / kGammaSteel : 1.0;
    const double stress_scale = ws.Units == model::UnitSystem::SI ? kKpaPerKsi : 1.0;
    double P = 0.0;
    double M = 0.0;
    auto add = [&](double force, int i) {
        P += force;
        M += force * (half - s.Depth[static_cast<std::size_t>(i)]);
    };
    for (int i = 0; i < kSliceCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double eps = profile.At(s.Depth[k]);
        double concrete = 0.0;
        if (ws.HasConcrete()) concrete += s.NetConcrete[k];
        if (ws.CoreFilled) concrete += s.InnerConcrete[k];
        if (concrete > 0.0) {
            double stress = 0.0;
            if (eurocode) {
                stress = law.ParabolaStress(eps);
            } else {
                const double inside = std::clamp((profile.block - i * t) / t, 0.0, 1.0);
                stress = law.alpha1 * ws.m.fc * inside;
            }
            add(concrete * stress, i);
        }
        if (ws.HasCasing() && s.CasingArea[k] > 0.0) {
            bool yielded = false;
            const double stress = ws.IsSteelPipe()
                                      ? PlasticStress(ws.m.SteelFy, profile.At(i * t), profile.At((i + 1) * t))
                                      : SteelStress(ws.m.SteelEs, ws.m.SteelFy, eps, yielded);
            add(s.CasingArea[k] * stress, i);
        }
        if (ws.HasCoreSteel() && s.CoreSteel[k] > 0.0) {
            bool yielded = false;
            add(s.CoreSteel[k] * SteelStress(ws.m.CoreEs, ws.m.CoreFy, eps, yielded), i);
        }
    }
    for (int i : ws.BarSlices) {
        const auto k = static_cast<std::size_t>(i);
        const double eps = profile.At(s.Depth[k]);
        double stress = 0.0;
        if (ws.IsPrestressed()) {
            const double strand = ws.prestress.eps_ps + eps - ws.prestress.eps_pc;
            stress = StrandStressKsi(ws.MaterialClass, strand, ws.m.DeformedBarFpuKsi) * stress_scale * steel_factor;
        } else {
            bool yielded = false;
            stress = SteelStress(ws.m.Es, ws.m.fy * steel_factor, eps, yielded);
        }
        add(s.BarArea[k] * stress, i);
    }
    SectionResultant r;
    r.P = P;
    r.M = M;
    r.eps_t = -profile.At(tension_steel_depth);
    return r;
}

// Neutral-axis depth of the sweep variable s in [0, 1]: c = D s / (1 - s),
// s = 0 uniform tension, s = 1 uniform compression.
double DepthOfSweep(double D, double s) {
    if (s <= 0.0) return kUniformTension;
    if (s >= 1.0) return kUniformCompression;
    return D * s / (1.0 - s);
}

// Neutral-axis depth at which the strain of the extreme tension steel (at
// `depth`) is eps_s with the compression face at eps_cu.
double DepthForSteelStrain(double eps_cu, double depth, double eps_s) { return eps_cu * depth / (eps_cu - eps_s); }

}  // namespace

DesignCode DesignCodeOf(std::int32_t option) {
    switch (option) {
        case 1:
            return DesignCode::kAashto;
        case 3:
            return DesignCode::kEurocode2;
        default:
            return DesignCode::kAci318;
    }
}

std::string DesignCodeName(DesignCode code) {
    switch (code) {
        case DesignCode::kAashto:
            return "AASHTO LRFD Bridge Design Specifications, 9th edition (2020)";
        case DesignCode::kEurocode2:
            return "EN 1992-1-1:2004 (Eurocode 2)";
        case DesignCode::kAci318:
        default:
            return "ACI 318-19";
    }
}

SectionResultant ResultantAtDepth(const SectionWorkspace& ws, DesignCode code, bool design, double c) {
    const ConcreteLaw law = MakeConcreteLaw(ws, code, design);
    const TensionSteel steel = ExtremeTensionSteel(ws);
    return Resultant(ws, law, design, ProfileAtDepth(ws, law, c), steel.depth);
}

double DepthForAxialForce(const SectionWorkspace& ws, DesignCode code, bool design, double P) {
    const ConcreteLaw law = MakeConcreteLaw(ws, code, design);
    const TensionSteel steel = ExtremeTensionSteel(ws);
    auto force = [&](double s) { return Resultant(ws, law, design, ProfileAtDepth(ws, law, DepthOfSweep(ws.D, s)), steel.depth).P; };
    double low = 0.0;   // tension end
    double high = 1.0;  // compression end
    if (P <= force(low)) return kUniformTension;
    if (P >= force(high)) return kUniformCompression;
    for (int k = 0; k < 200 && high - low > 1.0e-14; ++k) {
        const double mid = 0.5 * (low + high);
        if (force(mid) < P) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return DepthOfSweep(ws.D, 0.5 * (low + high));
}

SectionWorkspace ReversedSection(const SectionWorkspace& ws) {
    SectionWorkspace r = ws;
    SliceTable& s = r.slices;
    for (auto* column : {&s.GrossConcrete, &s.BarArea, &s.NetConcrete, &s.CasingArea, &s.CoreSteel, &s.InnerConcrete}) {
        std::reverse(column->begin(), column->end());
    }
    auto mirror = [](std::vector<int>& slices) {
        for (int& i : slices) i = kSliceCount - 1 - i;
        std::sort(slices.begin(), slices.end());
    };
    mirror(r.BarSlices);
    mirror(r.CoreSlices);
    const double twice_mid = ws.slices.SliceY[0] + ws.slices.SliceY[kSliceCount];
    for (BarEntry& bar : r.Bars) bar.y = twice_mid - bar.y;
    return r;
}

double StrengthReductionFactor(const InteractionDiagram& d, double eps_t) {
    if (d.code == DesignCode::kEurocode2) return 1.0;
    if (d.steel_only) return d.phi_tension;
    if (eps_t <= d.eps_ty) return d.phi_compression;
    if (eps_t >= d.eps_tension_controlled) return d.phi_tension;
    return d.phi_compression +
           (d.phi_tension - d.phi_compression) * (eps_t - d.eps_ty) / (d.eps_tension_controlled - d.eps_ty);
}

InteractionDiagram ComputeInteractionDiagram(const SectionWorkspace& ws, DesignCode code,
                                             TransverseReinforcement transverse, bool transverse_from_input) {
    InteractionDiagram d;
    d.computed = true;
    d.section = ws.SectionNumber;
    d.code = code;
    d.transverse = transverse;
    d.transverse_from_input = transverse_from_input;
    d.steel_only = ws.IsSteelPipe();
    d.prestressed = ws.IsPrestressed();

    const ConcreteLaw nominal = MakeConcreteLaw(ws, code, false);
    const ConcreteLaw factored = MakeConcreteLaw(ws, code, true);
    const TensionSteel steel = ExtremeTensionSteel(ws);
    d.eps_cu = d.steel_only ? 0.0 : nominal.UltimateStrain();
    d.eps_ty = steel.eps_ty;

    const bool spiral = transverse == TransverseReinforcement::kSpiral;
    // Axial factor on the design strength (phi_P) when it differs from the
    // moment's (steel pipe under AASHTO).
    double phi_axial_pipe = 1.0;
    switch (code) {
        case DesignCode::kAci318:
            d.phi_compression = spiral ? 0.75 : 0.65;
            d.phi_tension = 0.90;
            d.eps_tension_controlled = d.eps_ty + kAciTransitionWidth;
            phi_axial_pipe = 0.90;
            break;
        case DesignCode::kAashto: {
            d.phi_compression = 0.75;
            d.phi_tension = d.prestressed ? 1.00 : 0.90;
            double limit = 0.005;
            if (!d.prestressed && steel.fy_ksi > 75.0) {
                limit = 0.005 + 0.003 * (std::min(steel.fy_ksi, 100.0) - 75.0) / 25.0;
            }
            d.eps_tension_controlled = limit;
            if (d.steel_only) d.phi_tension = 1.00;  // phi_f, flexure
            phi_axial_pipe = 0.95;                   // phi_c and phi_y
            break;
        }
        case DesignCode::kEurocode2:
            d.phi_compression = d.phi_tension = 1.0;
            d.eps_tension_controlled = d.eps_ty;
            break;
    }

    // Neutral-axis depths of the sweep, from uniform compression to uniform
    // tension, densest around the balanced point.
    std::vector<double> depths;
    depths.push_back(kUniformCompression);
    int balanced = 0;
    if (d.steel_only) {
        constexpr int kPipeSteps = 60;
        for (int j = 0; j < kPipeSteps; ++j) depths.push_back(ws.D * (1.0 - static_cast<double>(j) / kPipeSteps));
    } else {
        const double eps_cu = nominal.UltimateStrain();
        const double dt = steel.depth;
        // Whole section compressed (c > D). With the rectangular block
        // nothing changes until the block covers the section (c = D/beta1)
        // or the extreme steel drops below its yield strain in compression;
        // the parabola-rectangle pivot changes from c = infinity on.
        double c_top = 10.0 * ws.D;
        if (code != DesignCode::kEurocode2) {
            const double c_yield = d.eps_ty < eps_cu ? eps_cu * dt / (eps_cu - d.eps_ty) : ws.D;
            c_top = std::max({ws.D / nominal.beta1, c_yield, ws.D * 1.05});
        }
        constexpr int kCompressed = 9;
        for (int j = 0; j < kCompressed; ++j) {
            depths.push_back(ws.D * std::pow(c_top / ws.D, static_cast<double>(kCompressed - j) / kCompressed));
        }
        // From c = D down to the balanced point.
        const double eps_at_d = eps_cu * (ws.D - dt) / ws.D;
        constexpr int kToBalanced = 16;
        for (int j = 0; j <= kToBalanced; ++j) {
            const double eps_s = eps_at_d + (-d.eps_ty - eps_at_d) * j / kToBalanced;
            depths.push_back(DepthForSteelStrain(eps_cu, dt, eps_s));
        }
        balanced = static_cast<int>(depths.size()) - 1;
        // Transition zone, then tension-controlled points.
        const double eps_tl = std::max(d.eps_tension_controlled, d.eps_ty + 1.0e-3);
        constexpr int kTransition = 10;
        for (int j = 1; j <= kTransition; ++j) {
            const double eps_s = -(d.eps_ty + (eps_tl - d.eps_ty) * j / kTransition);
            depths.push_back(DepthForSteelStrain(eps_cu, dt, eps_s));
        }
        constexpr int kTensionSteps = 14;
        for (int j = 1; j <= kTensionSteps; ++j) {
            const double eps_s = -eps_tl * std::pow(kLastSweepStrain / eps_tl, static_cast<double>(j) / kTensionSteps);
            depths.push_back(DepthForSteelStrain(eps_cu, dt, eps_s));
        }
    }
    depths.push_back(kUniformTension);

    d.points.reserve(depths.size());
    for (double c : depths) {
        const SectionResultant n = Resultant(ws, nominal, false, ProfileAtDepth(ws, nominal, c), steel.depth);
        InteractionPoint point;
        point.c = c;
        point.Pn = n.P;
        point.Mn = n.M;
        point.eps_t = n.eps_t;
        if (code == DesignCode::kEurocode2) {
            const SectionResultant f = Resultant(ws, factored, true, ProfileAtDepth(ws, factored, c), steel.depth);
            point.phi = 1.0;
            point.Pd = f.P;
            point.Md = f.M;
        } else if (d.steel_only) {
            point.phi = d.phi_tension;
            point.Pd = phi_axial_pipe * n.P;
            point.Md = d.phi_tension * n.M;
        } else {
            point.phi = StrengthReductionFactor(d, n.eps_t);
            point.Pd = point.phi * n.P;
            point.Md = point.phi * n.M;
        }
        d.points.push_back(point);
    }
    d.Po = d.points.front().Pn;
    if (d.steel_only) {
        // No balanced failure in a fully plastic section: the point of
        // largest moment is marked instead.
        for (std::size_t k = 0; k < d.points.size(); ++k) {
            if (d.points[k].Mn > d.points[static_cast<std::size_t>(balanced)].Mn) balanced = static_cast<int>(k);
        }
    }
    d.balanced = balanced;
    // Cap on the design axial strength: phi 0.80 Po (tied) or phi 0.85 Po
    // (spiral) with the compression-controlled phi.
    if (!d.steel_only && code != DesignCode::kEurocode2) {
        d.factored_cap = d.phi_compression * (spiral ? 0.85 : 0.80) * d.Po;
        for (InteractionPoint& point : d.points) point.Pd = std::min(point.Pd, d.factored_cap);
    } else {
        d.factored_cap = d.points.front().Pd;
    }
    return d;
}

CapacityCheck CheckAgainstDiagram(const InteractionDiagram& d, double P, double M) {
    CapacityCheck check;
    const double m = std::fabs(M);
    if (!d.computed || d.points.empty()) {
        check.ratio = std::numeric_limits<double>::infinity();
        check.pass = false;
        return check;
    }
    if (m == 0.0 && P == 0.0) return check;
    // The factored boundary closed along the axis M = 0.
    std::vector<std::pair<double, double>> boundary;  // (M, P)
    boundary.emplace_back(0.0, d.points.front().Pd);
    for (const InteractionPoint& point : d.points) boundary.emplace_back(point.Md, point.Pd);
    boundary.emplace_back(0.0, d.points.back().Pd);
    double best = 0.0;  // largest ray parameter t with t (m, P) on the boundary
    for (std::size_t k = 0; k + 1 < boundary.size(); ++k) {
        const double ax = boundary[k].first, ay = boundary[k].second;
        const double ex = boundary[k + 1].first - ax, ey = boundary[k + 1].second - ay;
        const double denominator = m * ey - P * ex;
        if (std::fabs(denominator) < 1.0e-300) continue;
        const double t = (ax * ey - ay * ex) / denominator;
        const double u = (ax * P - ay * m) / denominator;
        if (t > 0.0 && u >= -1.0e-12 && u <= 1.0 + 1.0e-12) best = std::max(best, t);
    }
    if (best <= 0.0) {
        check.ratio = std::numeric_limits<double>::infinity();
        check.pass = false;
        return check;
    }
    check.ratio = 1.0 / best;
    check.capacity_P = best * P;
    check.capacity_M = best * m;
    check.pass = check.ratio <= 1.0;
    return check;
}

}  // namespace trevasc::section

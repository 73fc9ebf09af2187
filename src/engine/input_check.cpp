// Checking an input file without analysing it: read it with the reader its
// version tag selects and echo it, each into scratch outputs, exactly as a run
// does; stop before the unit conversion. An error is placed on the line of the
// value that failed: a reader error on the line being read when it stopped,
// an echo error on the line the reader recorded for the value the echo
// refused. Then a few plausibility checks that never refuse a file, and a
// short account of what was understood.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <memory>
#include <numbers>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "echo/echo.hpp"
#include "input/current_format.hpp"
#include "input/previous_format.hpp"
#include "input/read_input.hpp"
#include "input/reader_support.hpp"
#include "model/units.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "trevasc/check.hpp"

namespace trevasc::engine {

using model::UnitSystem;
using model::SoilLayer;
using enum model::SectionTypeCode;
using enum model::SoilModelCode;

namespace {

namespace fs = std::filesystem;

// Plausibility limits of the warnings. They catch typing mistakes (a unit
// slip is a factor of 12, 25.4 or 1000), not unusual designs.
constexpr double kMinWidthMetres = 0.05;
constexpr double kMaxWidthMetres = 10.0;
constexpr double kMetresPerInch = 0.0254;
constexpr double kMaxTaper = 10.0;
constexpr double kMinSlenderness = 5.0;
constexpr double kMaxSlenderness = 200.0;
// Elastic moduli from timber (about 7 GPa) to steel (about 210 GPa), widened.
constexpr double kMinModulusPsi = 0.5e6;
constexpr double kMaxModulusPsi = 35.0e6;
constexpr double kMinModulusKpa = 3.0e6;
constexpr double kMaxModulusKpa = 250.0e6;
// Concrete strengths of 14 to 100 MPa (2 to 15 ksi), widened; US customary
// files give the concrete strength in ksi.
constexpr double kMinConcreteKsi = 1.0;
constexpr double kMaxConcreteKsi = 20.0;
constexpr double kMinConcreteKpa = 7000.0;
constexpr double kMaxConcreteKpa = 140000.0;
// Effective unit weights the echo also calls possibly erroneous.
constexpr double kMinUnitWeightPcf = 20.0;
constexpr double kMaxUnitWeightPcf = 140.0;
constexpr double kMinUnitWeightKn = 3.15;
constexpr double kMaxUnitWeightKn = 22.0;
// An SI section size below this many millimetres was most likely written in metres.
constexpr double kMetreLikeMillimetres = 10.0;
// A file of the oldest format that fails this early is probably no input at all.
constexpr int kForeignFileLines = 10;

std::string Num(double value) {
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 6);
    return std::string(buffer.data(), result.ptr);
}

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// A scratch folder for the outputs of the check, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "trevasc-check-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The message of the error that stopped the run, from the report: the lines
// from the last error heading up to the stop line, blank lines dropped and
// blanks collapsed, as one line.
std::string ErrorMessage(const std::string& report) {
    const std::vector<std::string> lines = SplitLines(report);
    std::size_t stop = lines.size();
    for (std::size_t i = lines.size(); i-- > 0;) {
        if (lines[i].find("ended prematurely") != std::string::npos) {
            stop = i;
            break;
        }
    }
    std::size_t start = stop;
    for (std::size_t i = stop; i-- > 0;) {
        const std::string& line = lines[i];
        if (line.find("Error No.") != std::string::npos || line.find("INPUT ERROR") != std::string::npos ||
            line.find("OUT-OF-ORDER") != std::string::npos) {
            start = i;
            break;
        }
    }
    // The heading ("Input Data Error No. 85") is set off from its text.
    std::string message;
    for (std::size_t i = start; i < stop; ++i) {
        std::istringstream words(lines[i]);
        std::string word;
        std::string text;
        while (words >> word) {
            if (word.find_first_not_of('*') == std::string::npos) continue;  // the stars around a heading
            text += (text.empty() ? "" : " ") + word;
        }
        if (text.empty()) continue;
        if (message.empty()) {
            message = text;
        } else {
            message += (i > start && message.find(':') == std::string::npos ? ": " : " ") + text;
        }
    }
    return message;
}

// Warnings the echo wrote into the report ("**** Warning ..." and the lines
// up to the next blank line), each as one line.
std::vector<std::string> EchoWarnings(const std::string& report) {
    std::vector<std::string> warnings;
    const std::vector<std::string> lines = SplitLines(report);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("**** Warning") == std::string::npos) continue;
        std::string text;
        std::size_t j = i + 1;
        while (j < lines.size() && Trim(lines[j]).empty()) ++j;
        for (; j < lines.size() && !Trim(lines[j]).empty(); ++j) text += (text.empty() ? "" : " ") + Trim(lines[j]);
        warnings.push_back(text);
        i = j;
    }
    return warnings;
}

struct UnitTexts {
    std::string depth, size, force, moment, unit_weight, stress, rock, modulus, subgrade;
    double size_scale = 1.0;  // stored section size -> the unit shown (mm for SI)
};

UnitTexts TextsFor(UnitSystem units) {
    switch (units) {
        case UnitSystem::USCS: return {"ft", "in", "lbs", "in-lb", "pcf", "psf", "psi", "psi", "pci", 1.0};
        case UnitSystem::SI: return {"m", "mm", "kN", "kN-m", "kN/m3", "kPa", "kPa", "kPa", "kN/m3", kMillimetresPerMetre};
        case UnitSystem::GENERAL: break;
    }
    return {"L", "L", "F", "F-L", "F/L3", "F/L2", "F/L2", "F/L2", "F/L3", 1.0};
}

constexpr std::array<std::string_view, 15> kSectionKinds{
    "rectangular concrete pile", "drilled shaft", "drilled shaft with permanent casing",
    "drilled shaft with casing and core", "steel pipe pile", "circular solid prestressed pile",
    "circular hollow prestressed pile", "square solid prestressed pile", "square hollow prestressed pile",
    "octagonal solid prestressed pile", "octagonal hollow prestressed pile", "elastic pile",
    "elastic pile with plastic moment", "pile with user-defined nonlinear EI", "micropile"};

// What a value of a soil model is: its label and the unit text it is shown in.
enum class ValueUnit { kUnitWeight, kStress, kRock, kModulus, kSubgrade, kNone };
struct SoilValue {
    std::string_view label;
    double model::SoilPointParams::*field;
    ValueUnit unit;
};
struct SoilModel {
    std::string_view name;
    std::array<SoilValue, 5> values;  // the first `count` are used
    std::size_t count;
};

using P = model::SoilPointParams;
constexpr SoilValue kC{"c", &P::Cohesion, ValueUnit::kStress};
constexpr SoilValue kE50{"e50", &P::Epsilon50, ValueUnit::kNone};
constexpr SoilValue kK{"k", &P::SubgradeK, ValueUnit::kSubgrade};
constexpr SoilValue kPhi{"phi", &P::FrictionAngle, ValueUnit::kNone};
constexpr SoilValue kQu{"qu", &P::Cohesion, ValueUnit::kRock};
constexpr SoilValue kQc{"qc", &P::ConeTipResistance, ValueUnit::kRock};

constexpr std::array<SoilModel, 17> kModels{{
    {"soft clay (Matlock)", {kC, kE50}, 2},
    {"stiff clay with free water", {kC, kE50, kK}, 3},
    {"stiff clay without free water", {kC, kE50}, 2},
    {"stiff clay without free water, with k", {kC, kE50, kK}, 3},
    {"sand (Reese)", {kPhi, kK}, 2},
    {"API sand", {kPhi, kK}, 2},
    {"liquefied sand", {}, 0},
    {"weak rock",
     {kQu, SoilValue{"Eir", &P::SubgradeK, ValueUnit::kModulus}, SoilValue{"RQD", &P::RQD, ValueUnit::kNone},
      SoilValue{"krm", &P::Epsilon50, ValueUnit::kNone}},
     4},
    {"vuggy limestone", {kQu}, 1},
    {"Piedmont residual soil",
     {SoilValue{"test", &P::PiedmontTestType, ValueUnit::kNone}, SoilValue{"N60", &P::N60, ValueUnit::kNone}, kQc,
      SoilValue{"ED", &P::DilatometerModulus, ValueUnit::kRock},
      SoilValue{"EM", &P::PressuremeterModulus, ValueUnit::kRock}},
     5},
    {"cemented silt", {kC, kPhi, kK, kE50}, 4},
    {"loess", {kQc}, 1},
    {"elastic subgrade", {SoilValue{"Es", &P::ElasticSubgradeModulus, ValueUnit::kSubgrade}}, 1},
    {"user p-y curves", {}, 0},
    {"soft clay with J", {kC, kE50, SoilValue{"J", &P::J, ValueUnit::kNone}}, 3},
    {"massive rock", {kQu, SoilValue{"Ei", &P::SubgradeK, ValueUnit::kModulus}}, 2},
    {"frozen soil", {}, 0},
}};
constexpr SoilModel kUnknownModel{"unknown model", {}, 0};

const SoilModel& ModelOf(std::int32_t code) {
    if (code < 1 || code > 17) return kUnknownModel;
    return kModels[static_cast<std::size_t>(code - 1)];
}

std::string UnitText(const UnitTexts& u, ValueUnit unit) {
    switch (unit) {
        case ValueUnit::kUnitWeight: return " " + u.unit_weight;
        case ValueUnit::kStress: return " " + u.stress;
        case ValueUnit::kRock: return " " + u.rock;
        case ValueUnit::kModulus: return " " + u.modulus;
        case ValueUnit::kSubgrade: return " " + u.subgrade;
        case ValueUnit::kNone: break;
    }
    return {};
}

// "c 600 to 800 psf", or "c 600 psf" when top and bottom agree.
std::string Range(std::string_view label, double top, double bottom, const std::string& unit) {
    std::string text = std::string(label) + " " + Num(top);
    if (bottom != top) text += " to " + Num(bottom);
    return text + unit;
}

class Checker {
public:
    explicit Checker(run::RunContext& ctx) : ctx_(ctx), p_(ctx.problem) {}

    int Line(const std::string& what) const {
        const auto found = ctx_.input_lines.find(what);
        return found == ctx_.input_lines.end() ? 0 : found->second;
    }
    std::string SectionSizeKey(int i) const {
        for (std::string_view label : {"diameter or width", "outside diameter", "pile width", "section depth",
                                       "width at the top"}) {
            const std::string key = "the " + std::string(label) + " of section " + std::to_string(i);
            if (Line(key) > 0) return key;
        }
        return "the section type of section " + std::to_string(i);
    }

    // The line of the value an echo error refused.
    int EchoErrorLine(std::int32_t code) const {
        switch (code) {
            case 117: return Line("the number of sections");
            case 118: return Line("the model code and depths of soil layer " + std::to_string(p_.Layers.size()));
            case 119:
            case 120: return Line("the model code and depths of soil layer 1");
            case 121: return Line("p-y modifier point 1");
            case 127:
                for (std::size_t r = 0; r < p_.SectionPropertyTable.size(); ++r) {
                    if (!(p_.SectionPropertyTable[r].Width > 0.0)) {
                        return Line(SectionSizeKey(static_cast<int>(r / 2 + 1)));
                    }
                }
                return Line("the number of sections");
            case 128: return Line("the loading type");
            case 129:
            case 130:
                // The echo keeps the depths before the one it refused.
                return Line("p-y output depth " + std::to_string(p_.PyOutputDepths.size() + 1));
            case 150:
                for (std::size_t k = 0; k < p_.TipShearCurve.size(); ++k) {
                    if ((k == 0 && p_.TipShearCurve[0][0] != 0.0) ||
                        (k > 0 && p_.TipShearCurve[k - 1][0] >= p_.TipShearCurve[k][0])) {
                        return Line("tip shear point " + std::to_string(k + 1));
                    }
                }
                return 0;
            case 189:
                for (std::size_t k = 0; k < p_.Layers.size(); ++k) {
                    if (p_.Layers[k].XLayerTop > p_.Layers[k].XLayerBottom) {
                        return Line("the model code and depths of soil layer " + std::to_string(k + 1));
                    }
                }
                return 0;
            default: return 0;
        }
    }

    void Warn(std::vector<InputFinding>& out, int line, std::string text) const {
        out.push_back({FindingKind::kWarning, line, std::move(text)});
    }

    // The layer depths as written, before the echo joins the layers.
    void KeepWrittenLayers() {
        written_layers_.clear();
        for (const SoilLayer& layer : p_.Layers) written_layers_.push_back({layer.XLayerTop, layer.XLayerBottom});
    }

    // Layer depths that the joining of the layers silently changes: a gap or
    // an overlap. (A top written below its bottom is refused by the reader.)
    void LayerDepths(std::vector<InputFinding>& out) const {
        for (std::size_t k = 1; k < written_layers_.size(); ++k) {
            const double top = written_layers_[k].first;
            if (top == written_layers_[k - 1].second) continue;
            const std::string n = std::to_string(k + 1);
            Warn(out, Line("the model code and depths of soil layer " + n),
                 "soil layer " + n + " starts at " + Num(top) + " " + Texts().depth + ", but the layer above ends at " +
                     Num(written_layers_[k - 1].second) + ": the layers are joined, so it starts there");
        }
    }

    // Values that are valid but look like typing mistakes.
    void Plausibility(std::vector<InputFinding>& out) const {
        LayerDepths(out);
        const UnitSystem units = p_.Options.Units;
        const bool si = units == UnitSystem::SI;
        const bool uscs = units == UnitSystem::USCS;
        const double to_metres = si ? 1.0 : kMetresPerInch;
        double min_width = 0.0;
        double max_width = 0.0;
        for (std::size_t k = 0; k < p_.Sections.size(); ++k) {
            const model::PileSection& s = p_.Sections[k];
            const int i = static_cast<int>(k + 1);
            const std::string name = "section " + std::to_string(i);
            if (s.SectionType != kMicropile) {
                const bool elastic = s.SectionType == kElasticPile || s.SectionType == kElasticPlastic;
                const double width = elastic ? s.Elastic.WidthTop : s.SectionWidth;
                for (double w : {width, elastic ? s.Elastic.WidthBottom : s.SectionWidth}) {
                    if (!(w > 0.0)) continue;
                    min_width = min_width == 0.0 ? w : std::min(min_width, w);
                    max_width = std::max(max_width, w);
                }
                const int line = Line(SectionSizeKey(i));
                if (units != UnitSystem::GENERAL && width > 0.0) {
                    const double metres = width * to_metres;
                    if (si && width * kMillimetresPerMetre < kMetreLikeMillimetres) {
                        Warn(out, line, "the width of " + name + " is " + Num(width * kMillimetresPerMetre) +
                                            " mm: SI section sizes are entered in millimetres, and this looks like "
                                            "metres (write " + Num(width * 1.0e6) + " for " + Num(width * kMillimetresPerMetre) +
                                            " m)");
                    } else if (metres < kMinWidthMetres || metres > kMaxWidthMetres) {
                        Warn(out, line, "the width of " + name + " is " + Num(width * Texts().size_scale) + " " +
                                            Texts().size + ", outside 50 mm to 10 m");
                    }
                }
            }
            double modulus = 0.0;
            std::string modulus_key;
            if (s.SectionType == kElasticPile || s.SectionType == kElasticPlastic) {
                modulus = s.Elastic.ElasticModulus;
                modulus_key = "the elastic modulus of " + name;
            } else if (s.SectionType == kSteelPipe || s.SectionType == kDrilledShaftWithCasing ||
                       s.SectionType == kDrilledShaftWithCasingAndCore) {
                modulus = s.SteelModulus;
                modulus_key = Line("the steel elastic modulus of " + name) > 0 ? "the steel elastic modulus of " + name
                                                                                : "the casing elastic modulus of " + name;
            }
            if (!modulus_key.empty() && units != UnitSystem::GENERAL) {
                const double low = uscs ? kMinModulusPsi : kMinModulusKpa;
                const double high = uscs ? kMaxModulusPsi : kMaxModulusKpa;
                if (modulus < low || modulus > high) {
                    Warn(out, Line(modulus_key), "the elastic modulus of " + name + " is " + Num(modulus) + " " +
                                                     Texts().modulus + ", outside the range of timber, concrete and steel (" +
                                                     Num(low) + " to " + Num(high) + " " + Texts().modulus + ")");
                }
            }
            const bool concrete = (s.SectionType >= kRectangularConcrete && s.SectionType <= kDrilledShaftWithCasingAndCore) ||
                                  (s.SectionType >= kCircularSolidPrestressed && s.SectionType <= kOctagonalHollowPrestressed);
            if (concrete && units != UnitSystem::GENERAL) {
                const double fc = s.Concrete.ConcreteStrength;
                const double low = uscs ? kMinConcreteKsi : kMinConcreteKpa;
                const double high = uscs ? kMaxConcreteKsi : kMaxConcreteKpa;
                const std::string unit = uscs ? "ksi" : "kPa";
                if (fc < low || fc > high) {
                    Warn(out, Line("the concrete compressive strength of " + name),
                         "the concrete strength of " + name + " is " + Num(fc) + " " + unit + ", outside " +
                             Num(low) + " to " + Num(high) + " " + unit +
                             (si ? " (SI stresses are entered in kPa: 28 MPa is 28000)"
                                 : " (US customary concrete strengths are entered in ksi)"));
                }
            }
        }
        if (min_width > 0.0 && max_width / min_width > kMaxTaper) {
            Warn(out, Line("the number of sections"),
                 "the pile width changes from " + Num(min_width * Texts().size_scale) + " to " +
                     Num(max_width * Texts().size_scale) + " " + Texts().size + ", a taper of more than 10 times");
        }
        if (!p_.SectionPropertyTable.empty() && units != UnitSystem::GENERAL) {
            const double width = p_.SectionPropertyTable.front().Width;
            const double length = p_.PileTotalLength * (uscs ? kInchesPerFoot : 1.0);
            if (width > 0.0 && length > 0.0) {
                const double ratio = length / width;
                if (ratio < kMinSlenderness || ratio > kMaxSlenderness) {
                    Warn(out, Line("the section length of section 1"),
                         "the pile is " + Num(ratio) + " times as long as it is wide, outside 5 to 200: check the "
                         "section lengths (" + Texts().depth + ") and the width (" + Texts().size + ")");
                }
            }
        }
        for (std::size_t k = 0; k < p_.Layers.size(); ++k) {
            const SoilLayer& layer = p_.Layers[k];
            const std::string n = std::to_string(k + 1);
            const int code = layer.KSOIL;
            const bool has_k = code == kStiffClayWithWater || code == kStiffClayWithK || code == kSand ||
                               code == kApiSand || code == kCementedSilt;
            const bool has_e50 = code == kSoftClay || code == kStiffClayWithWater || code == kStiffClayWithoutWater ||
                                 code == kStiffClayWithK || code == kCementedSilt || code == kSoftClayJ;
            for (int end = 0; end < 2; ++end) {
                const model::SoilPointParams& point = end == 0 ? layer.Top : layer.Bottom;
                const std::string where = end == 0 ? "top" : "bottom";
                const int line = Line("the " + where + " of soil layer " + n);
                if (units != UnitSystem::GENERAL && layer.KSOIL != kFrozenSoil && layer.KSOIL != kMassiveRock) {
                    const double low = uscs ? kMinUnitWeightPcf : kMinUnitWeightKn;
                    const double high = uscs ? kMaxUnitWeightPcf : kMaxUnitWeightKn;
                    if (point.EffUnitWeight < low || point.EffUnitWeight > high) {
                        Warn(out, line, "the effective unit weight at the " + where + " of soil layer " + n + " is " +
                                            Num(point.EffUnitWeight) + " " + Texts().unit_weight + ", outside " +
                                            Num(low) + " to " + Num(high) + " " + Texts().unit_weight);
                    }
                }
                if (has_k && point.SubgradeK == 0.0) {
                    Warn(out, line, "k is 0 at the " + where + " of soil layer " + n +
                                        ": the criterion's default k is used");
                }
                if (has_e50 && point.Epsilon50 == 0.0) {
                    Warn(out, line, "e50 is 0 at the " + where + " of soil layer " + n +
                                        ": a default e50 from the strength is used");
                }
            }
        }
        if (!p_.Options.UseLrfd) {
            for (std::size_t j = 0; j < p_.PileHeadLoads.size(); ++j) {
                if (!p_.PileHeadLoads[j].ComputeTopDeflVsLength) continue;
                const std::string n = std::to_string(j + 1);
                Warn(out, Line("pile-head load case " + n),
                     "load case " + n + " asks for a pile-length study: its last value is not 1 (0 turns the study "
                     "on, 1 turns it off)");
            }
        }
    }

    std::vector<std::string> Summary() const {
        std::vector<std::string> out;
        const model::AnalysisOptions& o = p_.Options;
        switch (o.Units) {
            case UnitSystem::USCS: out.push_back("Units:    US customary (lbs, in; depths and lengths in ft)"); break;
            case UnitSystem::SI: out.push_back("Units:    SI (kN, m; section sizes in mm, stresses in kPa)"); break;
            case UnitSystem::GENERAL: out.push_back("Units:    general (consistent F and L)"); break;
        }
        constexpr std::array<std::string_view, 5> kModes{
            "pile response with a constant EI", "nominal moment capacity and nonlinear EI only, no pile response",
            "nonlinear EI of the sections and pile response with it",
            "nonlinear EI of the sections, pile response with a constant EI", "pile response with a user-given EI"};
        if (o.AnalysisMode >= 1 && o.AnalysisMode <= 5) {
            out.push_back("Analysis: " + std::string(kModes[static_cast<std::size_t>(o.AnalysisMode - 1)]));
        }
        if (!p_.SectionPropertyTable.empty()) {
            out.push_back("Pile:     " + Num(p_.PileTotalLength) + " " + Texts().depth + " long in " +
                          std::to_string(p_.Sections.size()) + " section(s); width " +
                          Num(p_.SectionPropertyTable.front().Width * Texts().size_scale) + " " + Texts().size +
                          " at the head, " + Num(p_.SectionPropertyTable.back().Width * Texts().size_scale) + " " +
                          Texts().size + " at the tip");
        }
        for (std::size_t k = 0; k < p_.Sections.size(); ++k) {
            const model::PileSection& s = p_.Sections[k];
            std::string line = "  section " + std::to_string(k + 1) + ": ";
            if (s.SectionType >= 0 && s.SectionType <= kMicropile) {
                line += std::string(kSectionKinds[static_cast<std::size_t>(s.SectionType)]);
            }
            line += ", " + Num(s.SectionLength) + " " + Texts().depth;
            if (s.SectionType == kElasticPile || s.SectionType == kElasticPlastic) {
                line += ", E " + Num(s.Elastic.ElasticModulus) + " " + Texts().modulus + ", I " +
                        Num(s.Elastic.InertiaTop * std::pow(Texts().size_scale, 4)) + " " + Texts().size + "^4";
            } else if (s.SectionType != kMicropile) {
                line += ", width " + Num(s.SectionWidth * Texts().size_scale) + " " + Texts().size;
            }
            if (s.SectionType == kSteelPipe) {
                line += ", wall " + Num(s.SteelThickness * Texts().size_scale) + " " + Texts().size + ", fy " +
                        Num(s.SteelYieldStress) + ", E " + Num(s.SteelModulus);
            }
            const bool rebar = s.SectionType >= kRectangularConcrete && s.SectionType <= kDrilledShaftWithCasingAndCore;
            const bool strands = s.SectionType >= kCircularSolidPrestressed && s.SectionType <= kOctagonalHollowPrestressed;
            if (rebar || strands) {
                line += ", f'c " + Num(s.Concrete.ConcreteStrength) +
                        (p_.Options.Units == UnitSystem::USCS ? " ksi" : " " + Texts().stress);
            }
            if (rebar) {
                line += s.Rebar.BarCount == 0 ? ", no bars"
                                              : ", " + std::to_string(s.Rebar.BarCount) +
                                                    (s.Rebar.RebarInCircle ? " bars in a circle" : " listed bars");
            }
            if (strands) line += ", " + std::to_string(s.Strand.StrandCount) + " strands";
            if (s.SectionType == kUserDefinedEI) {
                line += ", " + std::to_string(s.UserEI.ThrustLevels.size()) + " thrust level(s) of M-EI points";
            }
            out.push_back(line);
        }
        if (!p_.Layers.empty()) {
            out.push_back("Ground:   surface " + Num(p_.GroundSurfaceDepth) + " " + Texts().depth +
                          " below the pile head; " + std::to_string(p_.Layers.size()) + " layer(s):");
        }
        for (std::size_t k = 0; k < p_.Layers.size(); ++k) {
            const SoilLayer& layer = p_.Layers[k];
            const SoilModel& model = ModelOf(layer.KSOIL);
            std::string line = "  layer " + std::to_string(k + 1) + ": " + std::string(model.name) + " (" +
                               std::to_string(layer.KSOIL) + "), " + Num(layer.XLayerTop) + " to " +
                               Num(layer.XLayerBottom) + " " + Texts().depth;
            if (layer.KSOIL != kFrozenSoil) {
                line += "; " + Range("gamma'", layer.Top.EffUnitWeight, layer.Bottom.EffUnitWeight,
                                     UnitText(Texts(), ValueUnit::kUnitWeight));
            }
            const bool psf_rock = layer.KSOIL == kMassiveRock && p_.Options.Units == UnitSystem::USCS;
            for (std::size_t v = 0; v < model.count; ++v) {
                const SoilValue& value = model.values[v];
                double scale = 1.0;
                if (psf_rock && value.unit == ValueUnit::kRock) scale = 1.0 / kSquareInchesPerSquareFoot;
                line += ", " + Range(value.label, layer.Top.*value.field * scale, layer.Bottom.*value.field * scale,
                                     UnitText(Texts(), value.unit));
            }
            if (layer.KSOIL == kUserPy) {
                line += ", " + std::to_string(layer.UserCurveTop.Points.size()) + " and " +
                        std::to_string(layer.UserCurveBottom.Points.size()) + " curve points";
            }
            out.push_back(line);
        }
        if (o.AnalysisMode != 2) {
            if (o.UseLrfd) {
                out.push_back("Loads:    LRFD, " + std::to_string(p_.LrfdLoads.size()) + " unfactored load(s), " +
                              std::to_string(p_.LrfdCombinations.size()) + " combination(s)");
            } else {
                out.push_back("Loads:    " + std::to_string(p_.PileHeadLoads.size()) + " pile-head load case(s):");
                for (std::size_t j = 0; j < p_.PileHeadLoads.size(); ++j) {
                    const model::PileHeadLoad& load = p_.PileHeadLoads[j];
                    out.push_back("  case " + std::to_string(j + 1) + ": " + LoadText(load) + ", axial " +
                                  Num(load.AxialThrust) + " " + Texts().force + "; length study " +
                                  (load.ComputeTopDeflVsLength ? "ON" : "off"));
                }
            }
        }
        std::string options = o.CyclicLoading ? "cyclic p-y curves (" + Num(o.NumberOfCycles) + " cycles)"
                                              : "static p-y curves";
        options += "; " + std::to_string(o.NumberOfIncrements) + " increments";
        if (o.ComputeKmatrix) options += "; pile-head stiffness matrix";
        if (o.UseTipShear) options += "; tip shear (" + std::to_string(p_.TipShearCurve.size()) + " points)";
        if (o.UseSoilMovement) options += "; soil movements";
        if (!p_.PyModifierProfile.empty()) options += "; p-y multipliers";
        if (o.PrintPyCurves) options += "; p-y curves printed at " + std::to_string(p_.PyOutputDepths.size()) + " depth(s)";
        if (o.PrintSummaryOnly) options += "; summary tables only";
        if (o.ComputeInteraction) options += "; interaction diagram";
        if (p_.GroundSlopeAngle != 0.0 || p_.PileBatterAngle != 0.0) {
            options += "; slope " + Num(p_.GroundSlopeAngle * kDegreesPerHalfTurn / kPi) + " deg, batter " +
                       Num(p_.PileBatterAngle * kDegreesPerHalfTurn / kPi) + " deg";
        }
        out.push_back("Options:  " + options);
        return out;
    }

private:
    std::string LoadText(const model::PileHeadLoad& load) const {
        const std::string& f = Texts().force;
        const std::string& m = Texts().moment;
        const std::string y = p_.Options.Units == UnitSystem::SI ? "m" : (p_.Options.Units == UnitSystem::USCS ? "in" : "L");
        const std::string c1 = Num(load.Condition1);
        const std::string c2 = Num(load.Condition2);
        switch (load.LoadingType) {
            case 1: return "type 1, shear " + c1 + " " + f + " and moment " + c2 + " " + m;
            case 2: return "type 2, shear " + c1 + " " + f + " and slope " + c2 + " rad";
            case 3: return "type 3, shear " + c1 + " " + f + " and rotational stiffness " + c2 + " " + m + "/rad";
            case 4: return "type 4, deflection " + c1 + " " + y + " and moment " + c2 + " " + m;
            case 5: return "type 5, deflection " + c1 + " " + y + " and slope " + c2 + " rad";
            default: return "type " + std::to_string(load.LoadingType);
        }
    }

    // The unit texts of the units the file chose (known once it is read).
    UnitTexts Texts() const { return TextsFor(p_.Options.Units); }

    run::RunContext& ctx_;
    const model::ProblemData& p_;
    std::vector<std::pair<double, double>> written_layers_;
};

constexpr std::array<std::string_view, 17> kKeywords{
    "TITLE", "OPTIONS", "SECTIONS", "AXIAL THRUST LOADS", "SOIL LAYERS", "TIP SHEAR", "PILE BATTER AND SLOPE",
    "GROUPEFF", "LRFD LOADS", "LRFD FACTORS AND CASES", "LOADING", "SOIL MOVEMENTS", "GROUP EFFECT FACTORS",
    "DEPTHS OF PRINTED P-Y CURVES", "MASSIVE ROCK", "END", "Units USCS"};

// A title line that holds a keyword or an option line: the TITLE block takes
// five lines whatever they hold, so a shorter title swallows what follows.
void NoteSwallowedTitle(const run::RunContext& ctx, std::vector<InputFinding>& out) {
    for (int k = 2; k <= model::kMaxTitleLines; ++k) {
        const std::string text = Trim(ctx.problem.TitleLines[static_cast<std::size_t>(k - 1)]);
        const bool keyword = std::find(kKeywords.begin(), kKeywords.end(), text) != kKeywords.end() ||
                             text.rfind("Units ", 0) == 0;
        if (!keyword) continue;
        const auto line = ctx.input_lines.find("title line " + std::to_string(k));
        out.push_back({FindingKind::kNote, line == ctx.input_lines.end() ? 0 : line->second,
                       "this line was read as title line " + std::to_string(k) + ": the TITLE block always takes "
                       "the five lines after it, so '" + text + "' is not a keyword here; give the title five lines "
                       "(blank lines are fine)"});
        return;
    }
}

void Check(InputCheck& result, const std::string& input_path) {
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        result.code = kInternalFaultCode;
        result.findings.push_back({FindingKind::kError, 0, "no scratch folder for the check could be made"});
        return;
    }
    auto ctx = std::make_unique<run::RunContext>();
    std::ifstream in(input_path, std::ios::binary);
    if (!in.is_open()) {
        result.code = 181;
        result.findings.push_back({FindingKind::kError, 0, "the input file cannot be opened or read"});
        return;
    }
    const std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (contents.empty()) {
        result.code = 125;
        result.findings.push_back({FindingKind::kError, 0, "Input Data Error No. 25: the input file is empty"});
        return;
    }
    ctx->files.input = input::InputFile(contents);
    ctx->files.input_path = input_path;
    const fs::path report_path = scratch.path() / "check.report.txt";
    if (!ctx->files.report.Open(report_path) || !ctx->files.plot.Open(scratch.path() / "check.plot.txt") ||
        !ctx->files.messages.Open(scratch.path() / "check.messages.txt")) {
        result.code = 291;
        result.findings.push_back({FindingKind::kError, 0, "the scratch outputs of the check cannot be written"});
        return;
    }

    run::InputFile& file = ctx->files.input;
    const std::string tag = input::ReadVersionTag(file);
    result.oldest_format = tag != "TREVAS6" && tag != "TREVAS5";
    bool reading = true;
    int line = 0;
    Checker written(*ctx);  // keeps the layer depths as written
    try {
        input::ReadInputOfFormat(*ctx, tag);
        reading = false;
        written.KeepWrittenLayers();
        ctx->labels = model::MakeUnitLabels(ctx->problem.Options.Units);
        echo::EchoInputData(*ctx);
    } catch (const run::RunStop& stop) {
        result.code = stop.error_number;
        line = reading ? file.LineNumber() : written.EchoErrorLine(stop.error_number);
    }
    ctx->files.report.Close();
    ctx->files.plot.Close();
    ctx->files.messages.Close();
    const std::string report = ReadWholeFile(report_path);
    if (result.code != 0) {
        std::string message = ErrorMessage(report);
        if (message.empty()) message = "the input stops with result code " + std::to_string(result.code);
        result.findings.push_back({FindingKind::kError, line, message});
        if (reading && tag == "TREVAS6") NoteSwallowedTitle(*ctx, result.findings);
        // Sizes written in metres in an SI file often fail later, in a bar
        // cage or a width check: name them too.
        std::vector<InputFinding> suspicious;
        written.Plausibility(suspicious);
        for (InputFinding& finding : suspicious) {
            if (finding.text.find("looks like metres") == std::string::npos) continue;
            finding.kind = FindingKind::kNote;
            result.findings.push_back(std::move(finding));
        }
        if (result.oldest_format && line <= kForeignFileLines) {
            result.findings.push_back(
                {FindingKind::kNote, 1,
                 "the first line is neither TREVAS6 (the current format) nor TREVAS5 (the previous format), so the "
                 "file was read in the oldest format, which failed at once: it may not be a Trevasc input"});
        }
        return;
    }
    for (std::string& text : EchoWarnings(report)) {
        // The unit-weight warning of the echo is made per layer, with its line, below.
        if (text.find("effective unit weight") != std::string::npos) continue;
        result.findings.push_back({FindingKind::kWarning, 0, text});
    }
    written.Plausibility(result.findings);
    result.summary = written.Summary();
}

}  // namespace

}  // namespace trevasc::engine

namespace trevasc {

// The exported entry of check.hpp: the check itself lives in the engine.
InputCheck CheckInput(const std::string& input_path) noexcept {
    InputCheck result;
    try {
        engine::Check(result, input_path);
    } catch (const std::exception& e) {
        result.code = kInternalFaultCode;
        result.findings.push_back({FindingKind::kError, 0, std::string("internal fault: ") + e.what()});
    } catch (...) {
        result.code = kInternalFaultCode;
        result.findings.push_back({FindingKind::kError, 0, "internal fault"});
    }
    return result;
}

}  // namespace trevasc

// Whole in-memory analyses beside their floor: a model of the least work an
// analysis of the same input must do.
//
// The floor of a run is taken from the run itself. Before timing, the real
// analysis runs once and is counted: its nodes (pile increments + 1, from the
// report), its iterations (one progress line per iteration in the run
// message file), the numbers in its three outputs and their bytes. The floor
// then does exactly that much work with nothing around it:
//   - per iteration, one closed-form spring update per node (a hyperbolic
//     tangent curve, p = pu tanh(k y / pu), whose depth-only values pu and k
//     are computed once per run) and one solution of the five-diagonal
//     beam-column system by elimination and back-substitution;
//   - as many numbers as the run wrote, formatted with std::to_chars;
//   - the same number of bytes written into three strings, as RunText
//     returns them.
// Each real benchmark is followed by its floor; the ratio of the two is the
// overhead of the engine over the work itself.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "api_sand_input.hpp"
#include "trevasc/run.hpp"

namespace {

using trevasc_bench::ApiSandInput;
using trevasc_bench::FixedClock;

// What one analysis did, counted from its outputs.
struct RunShape {
    int nodes = 0;
    int iterations = 0;
    std::size_t numbers = 0;
    std::array<std::size_t, 3> bytes{};  // report, plot, messages
};

// Numbers in a text: runs that start with a digit, or with a sign or point
// followed by a digit, and continue through digits, points and an exponent
// ("-0.1234E+03", "0.1234+100", "12346.").
std::size_t CountNumbers(std::string_view text) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const bool starts = digit(c) || ((c == '-' || c == '+' || c == '.') && i + 1 < text.size() &&
                                         (digit(text[i + 1]) || (text[i + 1] == '.' && i + 2 < text.size() &&
                                                                 digit(text[i + 2]))));
        if (!starts) {
            ++i;
            continue;
        }
        ++count;
        ++i;
        while (i < text.size()) {
            const char d = text[i];
            if (digit(d) || d == '.') {
                ++i;
            } else if ((d == 'E' || d == 'e' || d == '+' || d == '-') && i + 1 < text.size() &&
                       (digit(text[i + 1]) || ((text[i + 1] == '+' || text[i + 1] == '-') && i + 2 < text.size() &&
                                               digit(text[i + 2])))) {
                i += 2;
            } else {
                break;
            }
        }
    }
    return count;
}

int CountLinesStartingWith(std::string_view text, std::string_view prefix) {
    int count = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (text.substr(start, end - start).starts_with(prefix)) ++count;
        start = end + 1;
    }
    return count;
}

// The value after the last '=' of the first report line that holds `label`.
int ReportInteger(std::string_view report, std::string_view label) {
    const std::size_t at = report.find(label);
    if (at == std::string_view::npos) return 0;
    const std::size_t end = report.find('\n', at);
    const std::string_view line = report.substr(at, end - at);
    std::string_view value = line.substr(line.rfind('=') + 1);
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    int number = 0;
    std::from_chars(value.data(), value.data() + value.size(), number);
    return number;
}

RunShape MeasureRun(const trevasc::TextRunResult& result) {
    RunShape shape;
    shape.nodes = ReportInteger(result.report, "Number of pile increments") + 1;
    shape.iterations = CountLinesStartingWith(result.messages, "Analysis Case ");
    shape.numbers = CountNumbers(result.report) + CountNumbers(result.plot) + CountNumbers(result.messages);
    shape.bytes = {result.report.size(), result.plot.size(), result.messages.size()};
    return shape;
}

// The floor's pile: a 15 m elastic pile (SI) in a soil whose ultimate
// resistance and initial modulus grow with depth, head shear and no moment.
struct FloorPile {
    std::vector<double> pu, k0, es, y, y_last;
    // Five diagonals, right-hand side and the elimination's work rows.
    std::vector<double> a, b, c, d, e, rhs, alpha, beta, gamma, mu, z;
};

void SetUpFloorPile(FloorPile& pile, int nodes, double h) {
    const auto n = static_cast<std::size_t>(nodes);
    for (std::vector<double>* v : {&pile.pu, &pile.k0, &pile.es, &pile.y, &pile.y_last, &pile.a, &pile.b, &pile.c,
                                   &pile.d, &pile.e, &pile.rhs, &pile.alpha, &pile.beta, &pile.gamma, &pile.mu,
                                   &pile.z}) {
        v->assign(n, 0.0);
    }
    // Depth-only values, once per run: what a criterion needs per node.
    for (std::size_t i = 0; i < n; ++i) {
        const double depth = h * static_cast<double>(i);
        pile.pu[i] = 50.0 + 400.0 * depth;
        pile.k0[i] = 2.0e4 * (depth + h);
        pile.es[i] = pile.k0[i];
    }
}

// Solves the five-diagonal system (c on the diagonal, b and d beside it, a
// and e two away) by elimination without pivoting: the beam-column matrix
// with soil springs is symmetric positive definite.
void SolvePentadiagonal(FloorPile& p) {
    const std::size_t n = p.c.size();
    p.mu[0] = p.c[0];
    p.alpha[0] = p.d[0] / p.mu[0];
    p.beta[0] = p.e[0] / p.mu[0];
    p.z[0] = p.rhs[0] / p.mu[0];
    p.gamma[1] = p.b[1];
    p.mu[1] = p.c[1] - p.alpha[0] * p.gamma[1];
    p.alpha[1] = (p.d[1] - p.beta[0] * p.gamma[1]) / p.mu[1];
    p.beta[1] = p.e[1] / p.mu[1];
    p.z[1] = (p.rhs[1] - p.z[0] * p.gamma[1]) / p.mu[1];
    for (std::size_t i = 2; i < n; ++i) {
        p.gamma[i] = p.b[i] - p.alpha[i - 2] * p.a[i];
        p.mu[i] = p.c[i] - p.beta[i - 2] * p.a[i] - p.alpha[i - 1] * p.gamma[i];
        p.alpha[i] = (p.d[i] - p.beta[i - 1] * p.gamma[i]) / p.mu[i];
        p.beta[i] = p.e[i] / p.mu[i];
        p.z[i] = (p.rhs[i] - p.z[i - 2] * p.a[i] - p.z[i - 1] * p.gamma[i]) / p.mu[i];
    }
    p.y[n - 1] = p.z[n - 1];
    p.y[n - 2] = p.z[n - 2] - p.alpha[n - 2] * p.y[n - 1];
    for (std::size_t i = n - 2; i-- > 0;) p.y[i] = p.z[i] - p.alpha[i] * p.y[i + 1] - p.beta[i] * p.y[i + 2];
}

// One floor analysis: `iterations` spring updates and solutions, then the
// numbers and bytes of the outputs. Returns the three texts.
std::array<std::string, 3> FloorRun(const RunShape& shape, FloorPile& pile) {
    const double length = 15.0;
    const double h = length / (shape.nodes - 1);
    const double ei = 25.0e6 * 6.3617e9 * 1.0e-12;  // kN m^2
    const double beam = ei / (h * h * h * h);
    SetUpFloorPile(pile, shape.nodes, h);
    const std::size_t n = pile.c.size();
    double dy_max = 0.0;
    for (int it = 0; it < shape.iterations; ++it) {
        // Springs from the last deflections: Es = p / y on the tanh curve.
        for (std::size_t i = 0; i < n; ++i) {
            const double y = std::fabs(pile.y[i]);
            pile.es[i] = y > 1.0e-12 ? pile.pu[i] * std::tanh(pile.k0[i] * y / pile.pu[i]) / y : pile.k0[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            pile.a[i] = beam;
            pile.b[i] = -4.0 * beam;
            pile.c[i] = 6.0 * beam + pile.es[i];
            pile.d[i] = -4.0 * beam;
            pile.e[i] = beam;
            pile.rhs[i] = 0.0;
        }
        pile.rhs[0] = 100.0 / h;  // the head shear over the first increment
        SolvePentadiagonal(pile);
        dy_max = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            dy_max = std::max(dy_max, std::fabs(pile.y[i] - pile.y_last[i]));
            pile.y_last[i] = pile.y[i];
        }
    }

    // The outputs: the numbers of the run formatted with std::to_chars, the
    // rest of each text's bytes as fixed text.
    std::array<std::string, 3> texts;
    const std::size_t total = shape.bytes[0] + shape.bytes[1] + shape.bytes[2];
    std::size_t numbers_left = shape.numbers;
    constexpr std::string_view kFiller = "  text of a report line";
    for (std::size_t t = 0; t < texts.size(); ++t) {
        std::string& text = texts[t];
        const std::size_t bytes = shape.bytes[t];
        text.reserve(bytes);
        // This text's share of the numbers, by its share of the bytes.
        std::size_t numbers = t + 1 < texts.size() && total > 0 ? shape.numbers * bytes / total : numbers_left;
        numbers = std::min(numbers, numbers_left);
        numbers_left -= numbers;
        char field[32];
        for (std::size_t k = 0; k < numbers; ++k) {
            const double value = pile.y[k % n] * 1.0e3 + dy_max;
            const auto done = (k & 1U) != 0
                                  ? std::to_chars(field, field + sizeof field, value, std::chars_format::scientific, 4)
                                  : std::to_chars(field, field + sizeof field, value, std::chars_format::fixed, 4);
            text.append(field, done.ptr);
            text += ' ';
        }
        while (text.size() < bytes) {
            text.append(kFiller.substr(0, std::min(kFiller.size(), bytes - text.size() - 1)));
            text += '\n';
        }
        text.resize(bytes);
    }
    return texts;
}

void RealRun(benchmark::State& state, const std::string& input) {
    const trevasc::RunOptions options = FixedClock();
    for (auto _ : state) {
        const trevasc::TextRunResult result = trevasc::RunText(input, options);
        if (result.code != 0) {
            state.SkipWithError("the analysis did not end normally");
            break;
        }
        benchmark::DoNotOptimize(result.report.data());
    }
}

void FloorOfRun(benchmark::State& state, const std::string& input) {
    const trevasc::TextRunResult result = trevasc::RunText(input, FixedClock());
    if (result.code != 0) {
        state.SkipWithError("the analysis did not end normally");
        return;
    }
    const RunShape shape = MeasureRun(result);
    if (shape.nodes < 3 || shape.iterations < 1) {
        state.SkipWithError("the run could not be counted");
        return;
    }
    FloorPile pile;
    for (auto _ : state) {
        std::array<std::string, 3> texts = FloorRun(shape, pile);
        benchmark::DoNotOptimize(texts[0].data());
    }
    state.counters["nodes"] = shape.nodes;
    state.counters["iterations"] = shape.iterations;
    state.counters["numbers"] = static_cast<double>(shape.numbers);
    state.counters["bytes"] = static_cast<double>(shape.bytes[0] + shape.bytes[1] + shape.bytes[2]);
}

void BM_Real_ApiSand200Increments(benchmark::State& state) { RealRun(state, ApiSandInput(200, 1, false)); }
void BM_Floor_ApiSand200Increments(benchmark::State& state) { FloorOfRun(state, ApiSandInput(200, 1, false)); }
void BM_Real_ApiSand500Increments(benchmark::State& state) { RealRun(state, ApiSandInput(500, 1, false)); }
void BM_Floor_ApiSand500Increments(benchmark::State& state) { FloorOfRun(state, ApiSandInput(500, 1, false)); }
void BM_Real_ApiSand100Cases(benchmark::State& state) { RealRun(state, ApiSandInput(200, 100, false)); }
void BM_Floor_ApiSand100Cases(benchmark::State& state) { FloorOfRun(state, ApiSandInput(200, 100, false)); }
void BM_Real_ApiSandLengthStudy(benchmark::State& state) { RealRun(state, ApiSandInput(200, 1, true)); }
void BM_Floor_ApiSandLengthStudy(benchmark::State& state) { FloorOfRun(state, ApiSandInput(200, 1, true)); }

BENCHMARK(BM_Real_ApiSand200Increments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_ApiSand200Increments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Real_ApiSand500Increments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_ApiSand500Increments)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Real_ApiSand100Cases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_ApiSand100Cases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Real_ApiSandLengthStudy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Floor_ApiSandLengthStudy)->Unit(benchmark::kMicrosecond);

}  // namespace

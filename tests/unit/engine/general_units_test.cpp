// Whole runs in GENERAL units: the values of such a file are used as read, in
// the user's own consistent force and length units. Each expected value is
// worked out below from the file's own numbers, so a run that converted them
// as if they were feet, psf and pcf shows at once.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

using testing::RunInput;

// One node of a "Line 10" plot record: depth, y, M, V, p, EI.
struct NodeResult {
    double depth, y, moment, shear, p, ei;
};

std::vector<NodeResult> NodeResults(const testing::RunOutput& out) {
    std::vector<NodeResult> nodes;
    for (const std::string& line : out.PlotLines()) {
        if (line.find("Line 10(") == std::string::npos) continue;
        std::istringstream fields(line.substr(0, 90));
        NodeResult node{};
        fields >> node.depth >> node.y >> node.moment >> node.shear >> node.p >> node.ei;
        nodes.push_back(node);
    }
    return nodes;
}

struct Pile {
    double length;
    double modulus;  // E, F/L2
    double width;    // b, L
    double inertia;  // I, L4
    int increments;
};

// A circular elastic pile of one section in GENERAL units, one load case.
std::string GeneralDeck(const Pile& pile, const std::string& layers, const std::string& load,
                        const std::string& extra_options = "PrintPYCurves NO", const std::string& tail = "") {
    const double area = std::numbers::pi / 4.0 * pile.width * pile.width;
    std::ostringstream deck;
    deck.precision(17);
    deck << "TREVAS6\nTITLE\nGeneral units\n\n\n\n\nOPTIONS\nUnits GENERAL\nUseLRFD NO\nComputeKmatrix NO\n"
         << "UseTipShear NO\nUseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly NO\nLoading STATIC     0\n"
         << "MaxIterations 200\nMaxDeflection 10.0\nTolerance 1.0E-7\nIncrements " << pile.increments << "\n"
         << "PrintSummaryOnly NO\nPrintIncrement 10\n" << extra_options << "\nComputeInteraction NO\n"
         << "SECTIONS\n1\n1\n11\n" << pile.length << "\n2\n" << pile.modulus << "\n" << pile.width << "\n"
         << pile.width << "\n" << area << "\n" << area << "\n" << pile.inertia << "\n" << pile.inertia << "\n"
         << "SOIL LAYERS\n" << layers << "LOADING\n1\n" << load << "\n0\n" << tail << "END\n";
    return deck.str();
}

std::string ElasticSubgrade(double bottom, double kes) {
    std::ostringstream layer;
    layer.precision(17);
    layer << "1\n13 0.0 " << bottom << "\n8.0 " << kes << "\n8.0 " << kes << "\n";
    return layer.str();
}

// An elastic pile in a uniform elastic subgrade (p = kes b y, so the
// modulus per unit length is k = kes b) under a head shear V, against the
// beam-on-elastic-foundation solutions:
//  - long pile (beta L > 5, beta = (k / 4EI)^(1/4)), free head:
//    y0 = 2 V beta / k, slope0 = -2 V beta^2 / k,
//    Mmax = V / beta * exp(-pi/4) sin(pi/4) at depth pi / (4 beta);
//  - long pile, fixed head: y0 = V beta / k, |M0| = V / (2 beta);
//  - short rigid pile (beta L < 0.3), free head: the springs carry V and no
//    moment, so k L y0 - k L^2 theta / 2 = V and k L^2 y0 / 2 - k L^3 theta / 3 = 0,
//    giving y0 = 4 V / (k L) and a slope of -6 V / (k L^2).
TEST(GeneralUnits, ElasticPileMatchesClosedFormsInTheFileUnits) {
    constexpr double kV = 100.0;    // F
    constexpr double kKes = 2.0e4;  // F/L3
    struct Case {
        const char* name;
        Pile pile;
        int loading_type;  // 1 free head (V, M = 0), 2 fixed head (V, slope 0)
        bool rigid;
    };
    const Case cases[] = {
        {"long free head", {20.0, 2.0e7, 0.5, 0.003, 200}, 1, false},
        {"long fixed head", {20.0, 2.0e7, 0.5, 0.003, 200}, 2, false},
        {"short rigid", {2.0, 1.0e11, 0.5, 0.003, 40}, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double k = kKes * c.pile.width;
        const double ei = c.pile.modulus * c.pile.inertia;
        const double beta = std::pow(k / (4.0 * ei), 0.25);
        std::ostringstream load;
        load << "1 " << c.loading_type << " " << kV << " 0.0 0.0 1";
        const auto out = RunInput(GeneralDeck(c.pile, ElasticSubgrade(c.pile.length + 1.0, kKes), load.str()));
        ASSERT_EQ(out.code, 0) << out.messages;
        const std::vector<NodeResult> nodes = NodeResults(out);
        ASSERT_EQ(nodes.size(), static_cast<std::size_t>(c.pile.increments + 1));
        EXPECT_DOUBLE_EQ(nodes.back().depth, c.pile.length);  // the pile is as long as the file says
        EXPECT_NEAR(nodes[1].depth, c.pile.length / c.pile.increments, 1e-6 * c.pile.length);

        const NodeResult& head = nodes.front();
        if (c.rigid) {
            ASSERT_LT(beta * c.pile.length, 0.3);
            const double y0 = 4.0 * kV / (k * c.pile.length);
            const double slope = -6.0 * kV / (k * c.pile.length * c.pile.length);
            EXPECT_NEAR(head.y, y0, 0.01 * y0);
            EXPECT_NEAR((nodes[1].y - nodes[0].y) / (nodes[1].depth - nodes[0].depth), slope, 0.02 * std::abs(slope));
            continue;
        }
        ASSERT_GT(beta * c.pile.length, 5.0);
        if (c.loading_type == 1) {
            EXPECT_NEAR(head.y, 2.0 * kV * beta / k, 0.01 * 2.0 * kV * beta / k);
            const double m_max = kV / beta * std::exp(-std::numbers::pi / 4.0) * std::sin(std::numbers::pi / 4.0);
            const NodeResult* peak = &nodes.front();
            for (const NodeResult& node : nodes) {
                if (std::abs(node.moment) > std::abs(peak->moment)) peak = &node;
            }
            EXPECT_NEAR(std::abs(peak->moment), m_max, 0.01 * m_max);
            EXPECT_NEAR(peak->depth, std::numbers::pi / (4.0 * beta), 0.15);  // within the 0.1 node spacing
        } else {
            EXPECT_NEAR(head.y, kV * beta / k, 0.01 * kV * beta / k);
            EXPECT_NEAR(std::abs(head.moment), kV / (2.0 * beta), 0.01 * kV / (2.0 * beta));
        }
    }
}

// The earlier formats in GENERAL units: depths stay as read, so the 50 long
// pile of the previous-format file ends at 50 (not at 600, as feet made
// inches would give), with 100 increments of 0.5.
TEST(GeneralUnits, PreviousFormatDepthsAreUsedAsRead) {
    std::string text =
        testing::ReadFile(std::filesystem::path(TREVASC_TEST_DATA_DIR) / "previous" / "previous_mode1.trv");
    const std::string uscs_line = "\n1 1 0 0 0\n";
    ASSERT_NE(text.find(uscs_line), std::string::npos);
    text.replace(text.find(uscs_line), uscs_line.size(), "\n3 1 0 0 0\n");
    const auto out = RunInput(text);
    ASSERT_LE(out.code, 0) << out.report;
    const std::vector<NodeResult> nodes = NodeResults(out);
    ASSERT_EQ(nodes.size(), 2u * 101u);  // two load cases of 101 nodes
    EXPECT_DOUBLE_EQ(nodes[100].depth, 50.0);
    EXPECT_DOUBLE_EQ(nodes[1].depth, 0.5);
}

// Soft clay (Matlock) in GENERAL units: c = 20 F/L2, gamma' = 8 F/L3,
// eps50 = 0.01, b = 0.5 L. The printed p-y curve at 2 L below the ground:
//   Np = 3 + gamma' z / c + J z / b = 3 + 0.8 + 2.0 = 5.8 (< 9),
//   pu = Np c b = 58 F/L,  y50 = 2.5 eps50 b = 0.0125 L,
//   p(y) = 0.5 pu (y / y50)^(1/3) up to 8 y50, pu beyond.
// The nonlinear analysis then has to carry the head shear by the soil
// reactions alone (free head, no thrust): the sum of p over the pile is V.
TEST(GeneralUnits, SoftClayCurveAndNonlinearResponseUseTheFileUnits) {
    const Pile pile{20.0, 2.0e7, 0.5, 0.003, 200};
    const std::string layers = "1\n1 0.0 21.0\n8.0 20.0 0.01\n8.0 20.0 0.01\n";
    constexpr double kV = 40.0;
    const auto out = RunInput(GeneralDeck(pile, layers, "1 1 40.0 0.0 0.0 1", "PrintPYCurves YES",
                                          "DEPTHS OF PRINTED P-Y CURVES\n1\n1 2.0\n"));
    ASSERT_EQ(out.code, 0) << out.messages;

    const double pu = 58.0;
    const double y50 = 0.0125;
    std::vector<std::pair<double, double>> curve;
    for (const std::string& line : out.PlotLines()) {
        if (line.find("for soft clay") == std::string::npos) continue;
        std::istringstream fields(line.substr(0, 30));
        double y = 0.0, p = 0.0;
        fields >> y >> p;
        curve.emplace_back(y, p);
    }
    ASSERT_EQ(curve.size(), 17u);
    for (const auto& [y, p] : curve) {
        if (y < 1e-5 * y50) continue;  // the linear start below 1e-5 y50
        const double expected = y <= 8.0 * y50 ? 0.5 * pu * std::cbrt(y / y50) : pu;
        EXPECT_NEAR(p, expected, 1e-5 * pu) << "y = " << y;
    }
    EXPECT_NEAR(curve[16].first, 20.0 * y50, 1e-6);  // last point 20 y50

    const std::vector<NodeResult> nodes = NodeResults(out);
    ASSERT_EQ(nodes.size(), 201u);
    EXPECT_DOUBLE_EQ(nodes.back().depth, 20.0);
    double resistance = 0.0;  // trapezoid rule over the nodes
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        resistance += 0.5 * (nodes[i].p + nodes[i - 1].p) * (nodes[i].depth - nodes[i - 1].depth);
    }
    EXPECT_NEAR(std::abs(resistance), kV, 0.01 * kV);
    EXPECT_GT(nodes.front().y, 0.0);
}

}  // namespace
}  // namespace trevasc

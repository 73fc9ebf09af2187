// Unit labels and the conversion of US customary input to pounds and inches.
#include <gtest/gtest.h>

#include "model/units.hpp"

namespace trevasc::model {
namespace {

TEST(Units, LabelBlocksKeepTheirWidths) {
    EXPECT_EQ(MakeUnitLabels(UnitSystem::USCS).Block(), "in lbs lbs/-**23  4in-lblb/inpcf  psf ftinin");
    EXPECT_EQ(MakeUnitLabels(UnitSystem::SI).Block(), "m  kN  kN /-**23  4kN-m kN/m kN/m3kPa m mmm ");
    EXPECT_EQ(MakeUnitLabels(UnitSystem::GENERAL).Block(), "L  F   F  /-**23  4F-L  F/L  F/L3 F/L2L L L ");
}

ProblemData SampleProblem() {
    ProblemData problem;
    PileSection section;
    section.SectionLength = 50.0;
    section.SectionBottomDepth = 50.0;
    problem.Sections.push_back(section);
    problem.PileTotalLength = 50.0;
    problem.SectionPropertyTable = {{0.0}, {50.0}};
    SoilLayer clay;
    clay.KSOIL = kSoftClay;
    clay.XLayerTop = 0.0;
    clay.XLayerBottom = 10.0;
    clay.Top = {0.0, 110.0, 1440.0};
    clay.Bottom = {10.0, 110.0, 1440.0};
    SoilLayer rock;
    rock.KSOIL = kWeakRock;
    rock.XLayerTop = 10.0;
    rock.XLayerBottom = 60.0;
    rock.Top = {10.0, 135.0, 1000.0};
    rock.Bottom = {60.0, 135.0, 1000.0};
    problem.Layers = {clay, rock};
    problem.PyOutputDepths = {5.0};
    problem.SoilMovementProfile = {{{0.0, 2.0}}, {{20.0, 0.0}}};
    return problem;
}

TEST(Units, UscsInputBecomesPoundsAndInchesOnce) {
    ProblemData problem = SampleProblem();
    bool done = false;
    ConvertUscsUnits(problem, done);
    ConvertUscsUnits(problem, done);  // a second call must not convert again
    EXPECT_TRUE(done);
    EXPECT_DOUBLE_EQ(problem.PileTotalLength, 600.0);
    EXPECT_DOUBLE_EQ(problem.PileTotalLength / 100, 6.0);  // node spacing of 100 increments
    EXPECT_DOUBLE_EQ(problem.Sections[0].SectionBottomDepth, 600.0);
    EXPECT_DOUBLE_EQ(problem.SectionPropertyTable[1].Depth, 600.0);
    EXPECT_DOUBLE_EQ(problem.Layers[0].XLayerBottom, 120.0);
    EXPECT_DOUBLE_EQ(problem.Layers[0].Top.Cohesion, 10.0);        // 1440 psf
    EXPECT_DOUBLE_EQ(problem.Layers[0].Top.EffUnitWeight, 110.0 / 1728.0);
    EXPECT_DOUBLE_EQ(problem.Layers[1].Top.Cohesion, 1000.0);      // rock strength is in psi already
    EXPECT_DOUBLE_EQ(problem.Layers[1].Bottom.Depth, 720.0);
    EXPECT_DOUBLE_EQ(problem.PyOutputDepths[0], 60.0);
    EXPECT_DOUBLE_EQ(problem.SoilMovementProfile[1][0], 240.0);
    EXPECT_DOUBLE_EQ(problem.SoilMovementProfile[0][1], 2.0);      // movements are in inches already
}

TEST(Units, MarkedConversionChangesNothing) {
    ProblemData problem = SampleProblem();
    bool done = true;  // SI input: marked as converted
    ConvertUscsUnits(problem, done);
    EXPECT_DOUBLE_EQ(problem.PileTotalLength, 50.0);
    EXPECT_DOUBLE_EQ(problem.Layers[0].Top.Cohesion, 1440.0);
}

}  // namespace
}  // namespace trevasc::model

#include "section/section_plot.hpp"

#include <string>

#include "report/fortran_format.hpp"

namespace trevasc::section {
namespace {

constexpr int kLabelColumn = 81;

std::string_view Line3Label(PlotCurveKind kind) {
    switch (kind) {
        case PlotCurveKind::EIOnly: return "Line 3 : Total number of axial thrusts for EI-only computations";
        case PlotCurveKind::Lrfd: return "Line 3 : Total number of axial thrusts for LRFD";
        case PlotCurveKind::Elastic: return "Line 3 : Total number of axial thrusts for elastic section";
        case PlotCurveKind::ElasticPlastic: return "Line 3 : Total number of axial thrusts for elastic-plastic section";
        case PlotCurveKind::PileHeadLoads:
        case PlotCurveKind::UserDefined: break;
    }
    return "Line 3 : Total number of axial thrusts";
}

std::string_view Line4Label(PlotCurveKind kind) {
    switch (kind) {
        case PlotCurveKind::Elastic:
            return "Line 4 : Num. Elas. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for linear EI";
        case PlotCurveKind::ElasticPlastic:
            return "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap. for elastic-plastic EI";
        default: break;
    }
    return "Line 4 : Num. M-EI-Crv Points, Axial Thrust Load, Nom. Moment Cap.";
}

std::string_view Line5Label(PlotCurveKind kind) {
    switch (kind) {
        case PlotCurveKind::Elastic: return "Line 5 : Elastic Moment, EI, Curvature for Sect#=";
        case PlotCurveKind::ElasticPlastic: return "Line 5 : Elas-Plas Moment, EI, Curvature for Sect#=";
        default: break;
    }
    return "Line 5 : Moment, EI, Curvature for Sect#=";
}

}  // namespace

void WritePlotLine3(OutputChannel& plot, PlotCurveKind kind, int thrust_count) {
    plot.Write(fmt::I(thrust_count, 5) + fmt::X(75));
    plot.Line(Line3Label(kind));
}

void WritePlotLine4(OutputChannel& plot, PlotCurveKind kind, int points, double thrust, double capacity) {
    plot.Write(fmt::I(points, 5) + fmt::X(10) + fmt::E(thrust, 15, 7) + fmt::E(capacity, 15, 7));
    plot.Tab(kLabelColumn);
    plot.Line(Line4Label(kind));
}

void WritePlotLine5(OutputChannel& plot, PlotCurveKind kind, double moment, double ei, double curvature, int section,
                    int thrust_index, int point) {
    plot.Write(fmt::E(moment, 15, 7) + fmt::E(ei, 15, 7) + fmt::E(curvature, 15, 7));
    plot.Tab(kLabelColumn);
    plot.Line(std::string(Line5Label(kind)) + fmt::I0(section) + ", AxLd#=" + fmt::I0(thrust_index) +
              ", CurvPnt#=" + fmt::I0(point));
}

}  // namespace trevasc::section

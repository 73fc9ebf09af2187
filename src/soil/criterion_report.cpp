#include "soil/criterion_report.hpp"

#include "report/fortran_format.hpp"
#include "report/output_channel.hpp"
#include "report/plot_file.hpp"
#include "soil/criteria.hpp"
#include "trevasc/plot_records.hpp"

namespace trevasc::soil {

namespace fmt = report::fmt;

namespace {

void WritePoint(report::OutputChannel& report, PointFields fields, double y, double p, std::string_view mark) {
    switch (fields) {
        case PointFields::kAdaptive:
            report.Write("   ");
            report::WriteAdaptiveNumber(report, y, 12);
            report.Write("     ");
            report::WriteAdaptiveNumber(report, p, 12);
            report.Line(mark);
            return;
        case PointFields::kFixed:
            report.Line(fmt::F(y, 15, 4) + fmt::F(p, 17, 3) + std::string(mark));
            return;
        case PointFields::kFixedFourDecimals:
            report.Line(fmt::F(y, 15, 4) + "     " + fmt::F(p, 15, 4) + std::string(mark));
            return;
    }
}

}  // namespace

void WritePyCurveReport(run::RunContext& ctx, int layer, const PyNode& node, const PyCurveReport& curve) {
    const CriterionEntry* entry = CriterionForCode(ctx.problem.Layers[static_cast<std::size_t>(layer - 1)].KSOIL);
    if (entry == nullptr) return;
    report::OutputChannel& report = ctx.files.report;
    report::OutputChannel& plot_file = ctx.files.plot;
    const plot::PyCurveLabels& labels = *plot::PyCurveLabelsOf(entry->name);
    const std::string_view soil = curve.Cyclic() && !labels.line8_cyclic.empty() ? labels.line8_cyclic : labels.line8_soil;
    int j = 0;
    for (const PyCurveReport::Item& item : curve.Items()) {
        switch (item.kind) {
            case PyCurveReport::Item::kText:
                report.Line(item.text);
                break;
            case PyCurveReport::Item::kLabelled:
                report.Write(item.text);
                report.Tab(item.column);
                report.Write("= ");
                report.Line(item.value);
                break;
            case PyCurveReport::Item::kColumns:
                report.Tab(item.column);
                report.Write(item.text);
                report.Tab(item.second_column);
                report.Line(item.value);
                break;
            case PyCurveReport::Item::kPoint:
                if (j == 0) {
                    report::WritePlotRecord(plot_file, plot::kLine7,
                                            {node.x, plot::kPyCurvePoints, labels.line7, node.curve_number});
                }
                ++j;
                WritePoint(report, curve.Fields(), item.y, item.p, item.text);
                report::WritePlotRecord(plot_file, *labels.line8, {item.y, item.p, j, soil});
                break;
        }
    }
}

}  // namespace trevasc::soil

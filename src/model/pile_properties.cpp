#include "model/pile_properties.hpp"

namespace trevasc::model {
namespace {

double Linear(double x0, double v0, double x1, double v1, double x) {
    return v0 + (v1 - v0) * (x - x0) / (x1 - x0);
}

PileProperties RowProperties(const SectionPropertyRow& row) {
    return PileProperties{row.Width, row.Inertia, row.Area, row.Modulus, row.Modulus * row.Inertia,
                          row.StructuralWidth};
}

}  // namespace

PileProperties Lookup_Pile_Properties(const ProblemData& problem, double a) {
    const auto& rows = problem.SectionPropertyTable;
    const int last = static_cast<int>(rows.size());
    if (last == 0) return PileProperties{};
    auto row = [&](int i) -> const SectionPropertyRow& { return rows[static_cast<std::size_t>(i - 1)]; };
    if (last == 1 || a < row(1).Depth) return RowProperties(row(1));
    if (a == row(last).Depth) return RowProperties(row(last));
    for (int i = 2; i <= last; ++i) {
        if (a > row(i).Depth) continue;
        if (a == row(i).Depth) {
            // A depth shared with the next row is a section boundary: the
            // section below governs.
            if (i < last && row(i + 1).Depth == row(i).Depth) return RowProperties(row(i + 1));
            return RowProperties(row(i));
        }
        // row(i-1).Depth <= a < row(i).Depth: interpolate in depth; EI between
        // the products E*I of the two rows.
        const SectionPropertyRow& upper = row(i - 1);
        const SectionPropertyRow& lower = row(i);
        const double d0 = upper.Depth;
        const double d1 = lower.Depth;
        PileProperties result;
        result.Width = Linear(d0, upper.Width, d1, lower.Width, a);
        result.Inertia = Linear(d0, upper.Inertia, d1, lower.Inertia, a);
        result.Area = Linear(d0, upper.Area, d1, lower.Area, a);
        result.Modulus = Linear(d0, upper.Modulus, d1, lower.Modulus, a);
        result.StructuralWidth = Linear(d0, upper.StructuralWidth, d1, lower.StructuralWidth, a);
        result.EI = Linear(d0, upper.Modulus * upper.Inertia, d1, lower.Modulus * lower.Inertia, a);
        return result;
    }
    return RowProperties(row(last));
}

}  // namespace trevasc::model

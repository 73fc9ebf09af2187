// The table of case results: made as cases are written, read as empty
// results for a case never written.
#include <gtest/gtest.h>

#include "model/pile_model.hpp"

namespace trevasc::model {
namespace {

// Writing later cases must not move the results of earlier ones: the
// callers hold a case's results by reference while the next are written.
TEST(CaseResultsTable, EarlierCasesStayWhereTheyAreAndUnwrittenCasesReadEmpty) {
    CaseResultsTable table;
    const CaseResultsTable& read = table;
    EXPECT_EQ(read(3).HeadDeflection, 0.0);  // nothing written yet
    CaseResults& first = table(1);
    first.HeadDeflection = 0.25;
    first.SectionMaxMoment[1] = -7.0;
    const CaseResults* where = &first;
    for (int c = 2; c <= kMaxLoadCases; ++c) table(c).HeadDeflection = c;
    EXPECT_EQ(&table(1), where);
    EXPECT_EQ(first.HeadDeflection, 0.25);
    EXPECT_EQ(read(1).SectionMaxMoment[1], -7.0);
    EXPECT_EQ(read(kMaxLoadCases).HeadDeflection, kMaxLoadCases);

    CaseResultsTable fresh;
    const CaseResultsTable& empty = fresh;
    EXPECT_EQ(empty(kMaxLoadCases).Iterations, 0);
    EXPECT_EQ(empty(1).SectionMaxShear[1], 0.0);
}

}  // namespace
}  // namespace trevasc::model

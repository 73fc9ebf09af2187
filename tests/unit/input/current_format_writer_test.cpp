// The current-format writer: every current-format input of the repository
// (golden cases, examples, reader fixtures) read, written and read again
// gives the same model (the same text again) and a byte-identical run; files of the earlier formats
// written in the current format give the same pile response, or are refused
// with the reason when the current format has no words for them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/model_text.hpp"
#include "input/current_format_writer.hpp"
#include "support/run_fixture.hpp"
#include "trevasc/run.hpp"

namespace trevasc::input {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;

std::vector<fs::path> InputsUnder(const fs::path& root) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && entry.path().extension() == ".trv") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

using testing::FixedClock;

TEST(CurrentFormatWriter, CurrentFormatInputsRoundTripToTheSameModelAndRun) {
    std::vector<fs::path> files = InputsUnder(TREVASC_TEST_CASES_DIR);
    for (const fs::path& root : {fs::path(TREVASC_TEST_DATA_DIR) / "input", fs::path(TREVASC_EXAMPLES_DIR)}) {
        const std::vector<fs::path> more = InputsUnder(root);
        files.insert(files.end(), more.begin(), more.end());
    }
    int round_trips = 0;
    for (const fs::path& file : files) {
        const std::string text = ReadFile(file);
        const engine::ModelReadResult first = engine::ReadModelText(text);
        // Fixtures of input errors have no model to write.
        if (first.code != 0 || first.version_tag != "TREVAS6") continue;
        SCOPED_TRACE(file.string());
        const std::string written = WriteCurrentFormat(first.problem);
        const engine::ModelReadResult second = engine::ReadModelText(written);
        ASSERT_EQ(second.code, 0) << second.report << "\n" << written;
        // The writer writes every value the reader reads, so the same text
        // from the model read back is the same model.
        EXPECT_EQ(WriteCurrentFormat(second.problem), written);

        const TextRunResult original = RunText(text, FixedClock());
        const TextRunResult rewritten = RunText(written, FixedClock());
        EXPECT_EQ(rewritten.code, original.code);
        EXPECT_EQ(rewritten.report, original.report);
        EXPECT_EQ(rewritten.plot, original.plot);
        ++round_trips;
    }
    // Every golden case at least.
    EXPECT_GE(round_trips, 17);
}

// Millimetre entries of SI files are stored in metres (divided by 1000, or
// 10^6 for areas); the writer finds the millimetre text that divides back to
// the very double stored, for entries of all seventeen digits too.
TEST(CurrentFormatWriter, SiMillimetreValuesReadBackExactly) {
    const fs::path file = fs::path(TREVASC_TEST_CASES_DIR) / "si_lrfd_battered_two_sections" / "input.trv";
    engine::ModelReadResult model = engine::ReadModelText(ReadFile(file));
    ASSERT_EQ(model.code, 0);
    model::PileSection& shaft = model.problem.Sections.at(0);
    struct Case {
        double* field;
        double metres;
    };
    const Case cases[] = {
        {&shaft.SectionWidth, 1340.940827261728 / 1000.0},
        {&shaft.Rebar.ConcreteCover, 43.957920826551845 / 1000.0},
        {&shaft.Rebar.BarArea, 487.6026762621418 / 1.0e6},
    };
    for (const Case& c : cases) *c.field = c.metres;
    const engine::ModelReadResult again = engine::ReadModelText(WriteCurrentFormat(model.problem));
    ASSERT_EQ(again.code, 0) << again.report;
    for (std::size_t k = 0; k < 3; ++k) {
        const model::PileSection& read = again.problem.Sections.at(0);
        const double values[] = {read.SectionWidth, read.Rebar.ConcreteCover, read.Rebar.BarArea};
        EXPECT_EQ(values[k], cases[k].metres) << k;
    }
}

TEST(CurrentFormatWriter, EarlierFormatsGiveTheSameAnalysisOrAreRefused) {
    struct Case {
        const char* file;
        bool writable;
    };
    const Case cases[] = {
        {"previous_mode3.trv", true},  {"older_mode3.trv", true},  {"older_mode2.trv", false},
        {"previous_mode1.trv", false}, {"older_mode4.trv", false}, {"older_mode5.trv", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = ReadFile(fs::path(TREVASC_TEST_DATA_DIR) / "previous" / c.file);
        const engine::ModelReadResult model = engine::ReadModelText(text);
        ASSERT_EQ(model.code, 0) << model.report;
        if (!c.writable) {
            EXPECT_THROW(WriteCurrentFormat(model.problem), UnwritableModel);
            continue;
        }
        const std::string written = WriteCurrentFormat(model.problem);
        const TextRunResult original = RunText(text, FixedClock());
        const TextRunResult rewritten = RunText(written, FixedClock());
        ASSERT_EQ(original.code, 0);
        EXPECT_EQ(rewritten.code, 0) << rewritten.report;
        EXPECT_EQ(rewritten.plot, original.plot) << written;
    }
}

}  // namespace
}  // namespace trevasc::input

// Every input fixture and every bundled example loads completely, and the
// fixture set holds a file for every soil model code and every section type.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "input/reader_harness.hpp"
#include "support/run_fixture.hpp"

namespace trevasc::testing {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputFiles(const fs::path& directory) {
    std::vector<fs::path> files;
    if (!fs::exists(directory)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file() && entry.path().extension() == ".trv") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

ReadOutcome ReadFixture(const fs::path& file) {
    const std::string text = ReadFile(file);
    const std::size_t first_line_end = text.find('\n');
    EXPECT_EQ(text.substr(0, first_line_end), "TREVAS6");
    return ReadBlocks(text.substr(first_line_end + 1));
}

const fs::path kInputFixtures = fs::path(TREVASC_TEST_DATA_DIR) / "input";
const fs::path kExamples = fs::path(TREVASC_TEST_DATA_DIR) / ".." / ".." / "examples";

TEST(InputFixtures, EveryFixtureAndExampleLoads) {
    std::vector<fs::path> files = InputFiles(kInputFixtures);
    const std::vector<fs::path> examples = InputFiles(kExamples);
    ASSERT_FALSE(examples.empty());
    files.insert(files.end(), examples.begin(), examples.end());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const ReadOutcome out = ReadFixture(file);
        EXPECT_EQ(out.error, 0) << out.report << out.messages;
    }
}

TEST(InputFixtures, OneFileForEverySoilCodeAndSectionType) {
    std::set<int> codes;
    for (const fs::path& file : InputFiles(kInputFixtures / "soil")) {
        SCOPED_TRACE(file.filename().string());
        const int code = std::stoi(file.filename().string().substr(4, 2));  // "codeNN_..."
        const ReadOutcome out = ReadFixture(file);
        ASSERT_EQ(out.error, 0);
        bool found = false;
        for (const model::SoilLayer& layer : out.problem.Layers) found = found || layer.KSOIL == code;
        EXPECT_TRUE(found);
        ASSERT_FALSE(out.problem.Sections.empty());
        // The soil reaches below the pile tip.
        EXPECT_GE(out.problem.Layers.back().XLayerBottom, out.problem.PileTotalLength);
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 17u);
    EXPECT_EQ(*codes.begin(), 1);
    EXPECT_EQ(*codes.rbegin(), 17);

    std::set<int> types;
    bool void_core = false;
    for (const fs::path& file : InputFiles(kInputFixtures / "sections")) {
        SCOPED_TRACE(file.filename().string());
        const int type = std::stoi(file.filename().string().substr(4, 2));  // "typeNN_..."
        const ReadOutcome out = ReadFixture(file);
        ASSERT_EQ(out.error, 0);
        bool found = false;
        for (const model::PileSection& s : out.problem.Sections) {
            found = found || s.SectionType == type;
            void_core = void_core || (s.SectionType == 3 && !s.b_FillCoreWithConcrete);
        }
        EXPECT_TRUE(found);
        EXPECT_GT(out.problem.PileTotalLength, 0.0);
        types.insert(type);
    }
    EXPECT_EQ(types.size(), 15u);
    EXPECT_TRUE(void_core);
}

}  // namespace
}  // namespace trevasc::testing

// The analysis run from text in memory writes what the run from files writes:
// the same report, plot and message texts, byte for byte, for every golden
// case, and it stays so when several runs share the process at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "support/run_fixture.hpp"
#include "trevasc/run.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

std::vector<fs::path> GoldenInputs() {
    std::vector<fs::path> inputs;
    for (const auto& entry : fs::directory_iterator(TREVASC_TEST_CASES_DIR)) {
        if (fs::exists(entry.path() / "input.trv")) inputs.push_back(entry.path() / "input.trv");
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

using testing::FixedClock;

TEST(TextRun, EveryGoldenCaseWritesWhatTheFileRunWrites) {
    const std::vector<fs::path> inputs = GoldenInputs();
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.parent_path().filename().string());
        TempDir dir;
        const RunPaths paths{input.string(), (dir.path() / "r.txt").string(), (dir.path() / "p.txt").string(),
                             (dir.path() / "m.txt").string()};
        const std::int32_t code = RunAnalysis(paths, FixedClock());
        // The same names in the files block, so that the reports compare whole.
        const TextRunResult text = RunText(ReadFile(input), FixedClock(), paths);
        EXPECT_EQ(text.code, code);
        EXPECT_EQ(text.report, ReadFile(paths.report));
        EXPECT_EQ(text.plot, ReadFile(paths.plot));
        EXPECT_EQ(text.messages, ReadFile(paths.messages));
        EXPECT_NE(text.report.find("Name of input data file:       input.trv"), std::string::npos);
    }
}

// Two threads run every case at once, each in the other order; every result
// equals the serial one.
TEST(TextRun, ConcurrentRunsGiveTheSerialResults) {
    const std::vector<fs::path> inputs = GoldenInputs();
    std::vector<std::string> texts;
    std::vector<TextRunResult> serial;
    for (const fs::path& input : inputs) {
        texts.push_back(ReadFile(input));
        serial.push_back(RunText(texts.back(), FixedClock()));
    }
    const std::size_t n = texts.size();
    std::vector<TextRunResult> forward(n), backward(n);
    std::thread a([&] {
        for (std::size_t k = 0; k < n; ++k) forward[k] = RunText(texts[k], FixedClock());
    });
    std::thread b([&] {
        for (std::size_t k = n; k-- > 0;) backward[k] = RunText(texts[k], FixedClock());
    });
    a.join();
    b.join();
    for (std::size_t k = 0; k < n; ++k) {
        for (const TextRunResult* run : {&forward[k], &backward[k]}) {
            EXPECT_EQ(run->code, serial[k].code) << inputs[k];
            EXPECT_EQ(run->report, serial[k].report) << inputs[k];
            EXPECT_EQ(run->plot, serial[k].plot) << inputs[k];
        }
    }
}

TEST(TextRun, EmptyTextIsInputError25AndTouchesNoFile) {
    TempDir dir;
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const TextRunResult result = RunText("", FixedClock());
    fs::current_path(previous);
    EXPECT_EQ(result.code, 125);
    EXPECT_NE(result.messages.find("Size of input data file is 0 bytes.  No analysis performed."), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A check reads and echoes the whole input, stops on the same input errors as
// an analysis, and analyses nothing.
TEST(TextRun, CheckOnlyEchoesAndStopsBeforeTheAnalysis) {
    const fs::path input = fs::path(TREVASC_TEST_CASES_DIR) / "sand" / "input.trv";
    RunOptions check = FixedClock();
    check.check_only = true;
    const TextRunResult full = RunText(ReadFile(input), FixedClock());
    const TextRunResult checked = RunText(ReadFile(input), check);
    ASSERT_EQ(full.code, 0);
    EXPECT_EQ(checked.code, 0);
    EXPECT_LT(checked.report.size(), full.report.size());
    // The check's report is the full report's opening up to where the
    // analysis begins, then the closing lines.
    const std::string closing = "\nThe analysis ended normally. \n\n";
    ASSERT_GT(checked.report.size(), closing.size());
    ASSERT_EQ(checked.report.substr(checked.report.size() - closing.size()), closing);
    const std::string echo = checked.report.substr(0, checked.report.size() - closing.size());
    EXPECT_EQ(full.report.compare(0, echo.size(), echo), 0);
    EXPECT_EQ(full.plot.find(checked.plot), 0u);

    std::string broken = ReadFile(input);
    broken.replace(broken.find("Increments 50"), 13, "Increments 10");  // fewer than 40: error 55
    EXPECT_EQ(RunText(broken, check).code, 155);
    EXPECT_EQ(RunText(broken, FixedClock()).code, 155);
}

// The soil's depth-only values are kept from one load case of a pile to the
// next. A case must respond as it does when it is the only one: the node
// records of every case of a run of three, sand over API sand (whose lower
// layer takes an equivalent depth), equal those of the case run alone.
TEST(TextRun, EachLoadCaseRespondsAsItDoesAlone) {
    const std::string input = ReadFile(fs::path(TREVASC_TEST_CASES_DIR) / "sand" / "input.trv");
    const std::string one_case = "LOADING\n1\n1 1 100.0 0.0 0.0 1\n";
    const std::size_t at = input.find(one_case);
    ASSERT_NE(at, std::string::npos);
    struct Load {
        const char* shear;
        const char* thrust;
    };
    const Load loads[] = {{"100.0", "0.0"}, {"250.0", "300.0"}, {"60.0", "0.0"}};
    const auto with_loads = [&](std::initializer_list<Load> chosen) {
        std::string loading = "LOADING\n" + std::to_string(chosen.size()) + "\n";
        int number = 1;
        for (const Load& load : chosen) {
            loading += std::to_string(number++) + " 1 " + load.shear + " 0.0 " + load.thrust + " 1\n";
        }
        std::string text = input;
        return text.replace(at, one_case.size(), loading);
    };
    const auto node_records = [](const std::string& plot) {
        std::vector<std::string> records;
        std::size_t start = 0;
        while (start < plot.size()) {
            const std::size_t end = std::min(plot.find('\n', start), plot.size());
            const std::string line = plot.substr(start, end - start);
            if (line.find("Line 10(") != std::string::npos) records.push_back(line);
            start = end + 1;
        }
        return records;
    };
    const TextRunResult together = RunText(with_loads({loads[0], loads[1], loads[2]}), FixedClock());
    ASSERT_EQ(together.code, 0);
    const std::vector<std::string> all = node_records(together.plot);
    ASSERT_EQ(all.size() % 3, 0u);
    const std::size_t nodes = all.size() / 3;
    ASSERT_GT(nodes, 0u);
    for (std::size_t c = 0; c < 3; ++c) {
        SCOPED_TRACE("load case " + std::to_string(c + 1));
        const TextRunResult alone = RunText(with_loads({loads[c]}), FixedClock());
        ASSERT_EQ(alone.code, 0);
        const std::vector<std::string> own(all.begin() + static_cast<std::ptrdiff_t>(c * nodes),
                                           all.begin() + static_cast<std::ptrdiff_t>((c + 1) * nodes));
        EXPECT_EQ(node_records(alone.plot), own);
    }
}

}  // namespace
}  // namespace trevasc

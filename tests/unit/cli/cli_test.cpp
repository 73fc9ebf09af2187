// The command-line host: usage, exit statuses and the files of a run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/run_fixture.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome RunHost(const testing::TempDir& dir, const std::string& arguments) {
    const fs::path out = dir.path() / "stdout.txt";
    const fs::path err = dir.path() / "stderr.txt";
    const std::string command = std::string("'") + TREVASC_CLI_PROGRAM + "' " + arguments + " >'" + out.string() +
                                "' 2>'" + err.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    Outcome outcome;
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = testing::ReadFile(out);
    outcome.err = testing::ReadFile(err);
    return outcome;
}

TEST(CommandLine, HelpVersionAndUsageErrors) {
    testing::TempDir dir;
    const auto help = RunHost(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("run"), std::string::npos);
    const auto version = RunHost(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("(6.0.25)"), std::string::npos);
    for (const char* bad : {"", "run", "frobnicate", "run a.trv --no-such-option"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(RunHost(dir, bad).status, 64);
    }
}

TEST(CommandLine, MissingInputIsNamedAndLeavesNoNamesFile) {
    testing::TempDir dir;
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "absent.trv").string() + "'");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("absent.trv"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "NAMES.DAT"));
}

TEST(CommandLine, RunWritesNamesFileAndOutputsInTheOutputDirectory) {
    testing::TempDir dir;
    testing::WriteFile(dir.path() / "pier.trv", testing::MinimalInput());
    const fs::path out_dir = dir.path() / "results";
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "pier.trv").string() + "' --out-dir '" +
                                          out_dir.string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Result code 0: the analysis ended normally"), std::string::npos);
    const auto names = testing::SplitLines(testing::ReadFile(out_dir / "NAMES.DAT"));
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], (dir.path() / "pier.trv").string());
    EXPECT_EQ(names[1], "pier.report.txt");
    EXPECT_EQ(names[2], "pier.plot.txt");
    EXPECT_EQ(names[3], "pier.messages.txt");
    const std::string report = testing::ReadFile(out_dir / "pier.report.txt");
    EXPECT_NE(report.find("Name of input data file:       pier.trv"), std::string::npos);
    EXPECT_NE(report.find("The analysis ended normally. "), std::string::npos);
    EXPECT_TRUE(fs::exists(out_dir / "pier.plot.txt"));
    EXPECT_TRUE(fs::exists(out_dir / "pier.messages.txt"));
}

TEST(CommandLine, InputErrorExitsWithTwo) {
    testing::TempDir dir;
    testing::WriteFile(dir.path() / "bad.trv", testing::MinimalInput("Units FURLONGS"));
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "bad.trv").string() + "'");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.out.find("Result code 199: input error 99"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.path() / "NAMES.DAT"));  // written beside the input by default
}

}  // namespace
}  // namespace trevasc

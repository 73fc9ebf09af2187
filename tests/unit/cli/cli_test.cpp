// The command-line host: usage, exit statuses and the files of a run.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/run_fixture.hpp"
#include "support/small_file_system.hpp"

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

TEST(CommandLine, RunWritesItsOutputsInTheOutputDirectoryAndLeavesNoControlFile) {
    testing::TempDir dir;
    testing::WriteFile(dir.path() / "pier.trv", testing::MinimalInput());
    const fs::path out_dir = dir.path() / "results";
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "pier.trv").string() + "' --out-dir '" +
                                          out_dir.string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Result code 0: the analysis ended normally"), std::string::npos);
    EXPECT_NE(outcome.out.find("Report:           " + (out_dir / "pier.report.txt").string()), std::string::npos);
    const std::string report = testing::ReadFile(out_dir / "pier.report.txt");
    EXPECT_NE(report.find("Path to file locations:        " + dir.path().string() + "/"), std::string::npos);
    EXPECT_NE(report.find("Name of input data file:       pier.trv"), std::string::npos);
    EXPECT_NE(report.find("The analysis ended normally. "), std::string::npos);
    EXPECT_TRUE(fs::exists(out_dir / "pier.plot.txt"));
    EXPECT_TRUE(fs::exists(out_dir / "pier.messages.txt"));
    EXPECT_FALSE(fs::exists(out_dir / "NAMES.DAT"));
    EXPECT_FALSE(fs::exists(dir.path() / "NAMES.DAT"));
}

TEST(CommandLine, InputErrorExitsWithTwo) {
    testing::TempDir dir;
    testing::WriteFile(dir.path() / "bad.trv", testing::MinimalInput("Units FURLONGS"));
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "bad.trv").string() + "'");
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.out.find("Result code 199: input error 99"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "NAMES.DAT"));
}

// The error itself reaches the console, and for an unrecognised line also
// where it stands: the line the report shows, matched against the input
// (the title "Test problem" is line 3 of the minimal input; the units line
// is line 9).
TEST(CommandLine, ErrorBlockAndLineNumberOnStandardError) {
    struct Case {
        const char* what;
        std::string input;
        std::string numbers;
    };
    const std::string bad_units = testing::MinimalInput("Units FURLONGS");
    std::string cr_only = "\xEF\xBB\xBF" + bad_units;
    for (char& c : cr_only) {
        if (c == '\n') c = '\r';
    }
    std::string repeated = testing::MinimalInput();
    repeated.insert(repeated.rfind("END\n"), "Test problem\n");
    const Case kCases[] = {
        {"unknown units", bad_units, "The unrecognized line is line 9 of "},
        {"byte-order mark and CR line ends", cr_only, "The unrecognized line is line 9 of "},
        {"a line that also stands earlier as a title", repeated, "The unrecognized line is one of lines 3 and 25 of "},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        testing::TempDir dir;
        const fs::path input = dir.path() / "bad.trv";
        testing::WriteFile(input, c.input);
        const auto outcome = RunHost(dir, "run '" + input.string() + "'");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find("Error reported by the analysis:\n***** INPUT ERROR *****\n\nThe following line is "
                                   "unrecognized or is out-of-order\n\n"),
                  std::string::npos)
            << outcome.err;
        EXPECT_NE(outcome.err.find("The analysis ended due to an input error.\n"), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find(c.numbers + input.string() + "\n"), std::string::npos) << outcome.err;
    }

    // Errors without an unrecognised line show their block alone; an error
    // written to the report only shows as the report has it.
    struct Other {
        std::string input;
        std::string shown;
    };
    std::string double_blank = testing::MinimalInput();
    double_blank.replace(double_blank.find("UseLRFD NO"), 10, "UseLRFD  NO");
    const Other kOthers[] = {
        {"TREVAS6\nOPTIONS\nUnits USCS\n", "Error reported by the analysis:\n**** Input Data Error No. 80 ****\n"},
        {double_blank,
         "Error reported by the analysis:\nINPUT ERROR - Unrecognized command for LRFD analysis option\n\n"
         "Trevasc ended prematurely due to input error number INP00095\n"},
    };
    for (const Other& other : kOthers) {
        testing::TempDir dir;
        testing::WriteFile(dir.path() / "other.trv", other.input);
        const auto outcome = RunHost(dir, "run '" + (dir.path() / "other.trv").string() + "'");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find(other.shown), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find("unrecognized line"), std::string::npos) << outcome.err;
    }
}

// Names are taken exactly; an input called NAMES.DAT is read, not replaced
// by the control file.
TEST(CommandLine, InputNamesTakenExactly) {
    testing::TempDir dir;
    const std::string plain = testing::MinimalInput();
    std::string blank_title = plain;
    blank_title.replace(blank_title.find("Test problem"), 12, "Name with a blank at its end");
    std::string names_title = plain;
    names_title.replace(names_title.find("Test problem"), 12, "An input called NAMES.DAT");
    testing::WriteFile(dir.path() / "pier.trv", plain);
    testing::WriteFile(dir.path() / "pier.trv ", blank_title);
    testing::WriteFile(dir.path() / "NAMES.DAT", names_title);

    auto outcome = RunHost(dir, "run '" + (dir.path() / "pier.trv ").string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(testing::ReadFile(dir.path() / "pier.report.txt").find("Name with a blank at its end"),
              std::string::npos);

    outcome = RunHost(dir, "run '" + (dir.path() / "NAMES.DAT").string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(testing::ReadFile(dir.path() / "NAMES.DAT"), names_title);
    EXPECT_NE(testing::ReadFile(dir.path() / "NAMES.report.txt").find("An input called NAMES.DAT"), std::string::npos);
}

// A report path that is a link to the input is refused before anything is
// written; the input is intact.
TEST(CommandLine, OutputLinkedToTheInputIsRefused) {
    testing::TempDir dir;
    const std::string input = testing::MinimalInput();
    testing::WriteFile(dir.path() / "pier.trv", input);
    fs::create_symlink("pier.trv", dir.path() / "pier.report.txt");
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "pier.trv").string() + "'");
    EXPECT_EQ(outcome.status, 3);
    EXPECT_NE(outcome.err.find("**** Runtime Error No. 51 ****"), std::string::npos) << outcome.err;
    EXPECT_NE(outcome.err.find("is the input data file " + (dir.path() / "pier.trv").string()), std::string::npos)
        << outcome.err;
    EXPECT_EQ(testing::ReadFile(dir.path() / "pier.trv"), input);
    EXPECT_FALSE(fs::exists(dir.path() / "pier.messages.txt"));
}

// Paths longer than a control-file line: the names are given relative to a
// private folder made in the output folder, which goes when the run ends.
TEST(CommandLine, DeepFolderBeyondTheControlFileLineLength) {
    testing::TempDir dir;
    const fs::path deep = dir.path() / std::string(200, 'd') / std::string(100, 'e');
    fs::create_directories(deep);
    testing::WriteFile(deep / "pier.trv", testing::MinimalInput());
    ASSERT_GT((deep / "pier.report.txt").string().size(), 256u);
    const auto outcome = RunHost(dir, "run '" + (deep / "pier.trv").string() + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_NE(testing::ReadFile(deep / "pier.report.txt").find("The analysis ended normally. "), std::string::npos);
    for (const auto& entry : fs::directory_iterator(deep)) {
        EXPECT_NE(entry.path().filename().string().rfind(".trevasc-run", 0), 0u) << "left behind: " << entry.path();
    }
}

// Twenty pairs of runs started together in one folder: each run has its own
// control file, so every report appears with its own input's title.
TEST(CommandLine, ConcurrentRunsInOneFolder) {
    testing::TempDir dir;
    constexpr int kPairs = 20;
    std::string script;
    std::vector<std::string> names;
    for (int i = 0; i < kPairs; ++i) {
        for (const char* side : {"a", "b"}) {
            const std::string name = std::string(side) + std::to_string(i);
            std::string input = testing::MinimalInput();
            input.replace(input.find("Test problem"), 12, "Title of " + name);
            testing::WriteFile(dir.path() / (name + ".trv"), input);
            names.push_back(name);
        }
        const std::string a = "a" + std::to_string(i);
        const std::string b = "b" + std::to_string(i);
        auto run = [&dir](const std::string& name) {
            const fs::path base = dir.path() / name;
            return std::string("'") + TREVASC_CLI_PROGRAM + "' run '" + base.string() + ".trv' >'" + base.string() +
                   ".out' 2>&1 </dev/null";
        };
        script += run(a) + " & " + run(b) + " & wait\n";
    }
    const fs::path script_path = dir.path() / "pairs.sh";
    testing::WriteFile(script_path, script);
    ASSERT_EQ(std::system(("sh '" + script_path.string() + "'").c_str()), 0);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const std::string out = testing::ReadFile(dir.path() / (name + ".out"));
        EXPECT_NE(out.find("Result code 0: the analysis ended normally"), std::string::npos) << out;
        const std::string report = testing::ReadFile(dir.path() / (name + ".report.txt"));
        EXPECT_NE(report.find("\nTitle of " + name + " "), std::string::npos);  // titles are blank-padded
        EXPECT_NE(report.find("The analysis ended normally. "), std::string::npos);
    }
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string file = entry.path().filename().string();
        EXPECT_TRUE(file.ends_with(".trv") || file.ends_with(".txt") || file.ends_with(".out") || file == "pairs.sh")
            << "left behind: " << file;
    }
}

// A 10 MB flood of blank lines (ten million lines) inside a read: the input
// is read as a stream, so the run's peak memory is that of a small run. A
// copy of the file held as a table of lines would need over 300 MB.
TEST(CommandLine, MemoryStaysBoundedForAFloodOfBlankLines) {
    testing::TempDir dir;
    std::string input = testing::MinimalInput();
    input.insert(input.find("MaxIterations"), std::string(10'000'000, '\n'));
    const fs::path path = dir.path() / "flood.trv";
    testing::WriteFile(path, input);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(TREVASC_CLI_PROGRAM, "trevasc", "run", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    constexpr long kLimitKiB = 200 * 1024;
    EXPECT_LT(usage.ru_maxrss, kLimitKiB);
    EXPECT_NE(testing::ReadFile(dir.path() / "flood.report.txt").find("The analysis ended normally. "),
              std::string::npos);
}

// An output folder on a full disk: the run names the cause and exits 3,
// without pointing at results it could not write.
TEST(CommandLine, FullDiskExitsWithThree) {
    testing::TempDir dir;
    const testing::SmallFileSystem small(dir.path() / "small", "64k");
    if (!small.mounted()) GTEST_SKIP() << "cannot mount a 64 KiB file system here (" << small.reason() << ")";
    small.Fill();
    testing::WriteFile(dir.path() / "pier.trv", testing::MinimalInput());
    const auto outcome = RunHost(dir, "run '" + (dir.path() / "pier.trv").string() + "' --out-dir '" +
                                          (dir.path() / "small").string() + "'");
    EXPECT_EQ(outcome.status, 3);
    EXPECT_NE(outcome.out.find("Result code 250"), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.out.find("Report:"), std::string::npos) << outcome.out;
    EXPECT_NE(outcome.err.find("No space left on device"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(dir.path() / "small" / "pier.report.txt"));
}

}  // namespace
}  // namespace trevasc

// The command line's check and template commands and its manners: nearest
// names for mistyped commands and options, help and -v, folders and files of
// no known format named as such.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/run_fixture.hpp"
#include "templates.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome Host(const testing::TempDir& dir, const std::string& arguments) {
    const fs::path out = dir.path() / "stdout.txt";
    const fs::path err = dir.path() / "stderr.txt";
    const std::string command = "cd '" + dir.path().string() + "' && '" + TREVASC_CLI_PROGRAM + "' " + arguments +
                                " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadFile(out), testing::ReadFile(err)};
}

TEST(CheckCommand, ErrorsAreFileAndLineAndExitTwoCleanFilesExitZero) {
    testing::TempDir dir;
    const std::string shaft(*host::TemplateText("drilled-shaft", "SI"));
    testing::WriteFile(dir.path() / "good.trv", shaft);
    const Outcome good = Host(dir, "check good.trv");
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_NE(good.out.find("good.trv is understood as:"), std::string::npos);

    std::string bad = shaft;
    bad.replace(bad.find("5 4.0 10.0"), 10, "5 2.0  3.0");
    testing::WriteFile(dir.path() / "bad.trv", bad);
    const Outcome refused = Host(dir, "check bad.trv");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.err.rfind("bad.trv:50: error: Input Data Error No. 89", 0), 0U) << refused.err;
    EXPECT_EQ(refused.out, "");
}

TEST(CommandLine, MistypedNamesGetTheNearestAndUsageNamesOnlyTheProgram) {
    testing::TempDir dir;
    struct Case {
        std::string arguments;
        int status;
        std::string err;
    };
    const Case kCases[] = {
        {"rn shaft.trv", 64, "unknown command 'rn'; did you mean 'run'?"},
        {"chek shaft.trv", 64, "did you mean 'check'?"},
        {"run shaft.trv --plot", 64, "unknown option '--plot'; did you mean '--plots'?"},
        {"run shaft.trv --plots --format gif", 64, "'gif' is not one of pdf|png|svg"},
        {"template caisson", 64, "KIND"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.arguments);
        const Outcome o = Host(dir, c.arguments);
        EXPECT_EQ(o.status, c.status);
        EXPECT_NE(o.err.find(c.err), std::string::npos) << o.err;
        EXPECT_EQ(o.err.find(fs::path(TREVASC_CLI_PROGRAM).parent_path().string()), std::string::npos) << o.err;
    }
    const Outcome help = Host(dir, "help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: trevasc [OPTIONS] SUBCOMMAND"), std::string::npos) << help.out;
    const Outcome help_run = Host(dir, "help run");
    EXPECT_EQ(help_run.status, 0);
    EXPECT_NE(help_run.out.find("--format svg|png|pdf"), std::string::npos) << help_run.out;
    const Outcome version = Host(dir, "-v");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.out.find("trevasc (6.0.25)"), std::string::npos);
}

TEST(CommandLine, FolderAndForeignFileAreNamedForWhatTheyAre) {
    testing::TempDir dir;
    fs::create_directory(dir.path() / "piles");
    for (const char* command : {"run piles", "check piles"}) {
        const Outcome o = Host(dir, command);
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find("piles is a folder, not an input file"), std::string::npos) << o.err;
    }
    testing::WriteFile(dir.path() / "notes.txt", "Shopping list\neggs\n");
    const Outcome run = Host(dir, "run notes.txt");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("neither TREVAS6 (the current format) nor TREVAS5"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("it may not be a Trevasc input"), std::string::npos);
}

TEST(TemplateCommand, WritesTheExampleOfTheKindAndUnits) {
    testing::TempDir dir;
    const Outcome si = Host(dir, "template rock-socket --units SI");
    EXPECT_EQ(si.status, 0);
    EXPECT_EQ(si.out, std::string(*host::TemplateText("rock-socket", "SI")));
    const Outcome uscs = Host(dir, "template prestressed");
    EXPECT_EQ(uscs.status, 0);
    EXPECT_NE(uscs.out.find("Units USCS"), std::string::npos);
}

}  // namespace
}  // namespace trevasc

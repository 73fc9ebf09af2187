// Run-control file, run files and the result codes of runs that cannot start.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/run_fixture.hpp"
#include "trevasc/run.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;
using testing::MinimalInput;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

using testing::FixedClock;

struct NamesCase {
    const char* what;
    const char* names;  // contents of NAMES.DAT
    std::int32_t code;
    const char* stderr_text;  // a line the run must write to standard error
};

const NamesCase kNamesCases[] = {
    {"no lines at all", "", 203, "The name of the input data file is corrupted."},
    {"one line", "in.trv\n", 204, "The name of the output report file is corrupted."},
    {"two lines", "in.trv\nout.txt\n", 205, "The name of the plot output file is corrupted."},
    {"three lines", "in.trv\nout.txt\nplot.txt\n", 206, "Name of runtime message file is corrupted"},
    {"blank input name", "   \nout.txt\nplot.txt\nmsg.txt\n", 217,
     "Input data filename information corrupted. No analysis performed."},
    {"blank report name", "in.trv\n\nplot.txt\nmsg.txt\n", 217,
     "Output filename information is corrupted. No analysis performed."},
    {"blank plot name", "in.trv\nout.txt\n \nmsg.txt\n", 217,
     "Plot output filename information is corrupted. No analysis performed."},
    {"blank message name", "in.trv\nout.txt\nplot.txt\n      \n", 217,
     "Run message filename information is corrupted. No analysis performed."},
};

TEST(RunFiles, NamesFileFaultsStopBeforeAnyOutput) {
    for (const NamesCase& c : kNamesCases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteFile(dir.path() / "in.trv", MinimalInput());
        WriteFile(dir.path() / "NAMES.DAT", c.names);
        ::testing::internal::CaptureStderr();
        const std::int32_t code = RunFromNamesFile(dir.path().string(), FixedClock());
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, c.code);
        EXPECT_NE(err.find(c.stderr_text), std::string::npos) << err;
        EXPECT_FALSE(fs::exists(dir.path() / "out.txt"));
        EXPECT_FALSE(fs::exists(dir.path() / "msg.txt"));
    }
}

TEST(RunFiles, MissingNamesFileIsRuntimeError2) {
    TempDir dir;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunFromNamesFile(dir.path().string(), FixedClock()), 202);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("**** Runtime Error No. 2 ****"), std::string::npos);
    EXPECT_NE(err.find("Contents of file NAMES.DAT is corrupted."), std::string::npos);
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(RunFiles, NamesFileRunsTheNamedFilesRelativeToItsDirectory) {
    TempDir dir;
    WriteFile(dir.path() / "in.trv", MinimalInput());
    WriteFile(dir.path() / "NAMES.DAT", "in.trv\r\nout.txt\r\nplot.txt\r\nmsg.txt\r\n");
    EXPECT_EQ(RunFromNamesFile(dir.path().string(), FixedClock()), 0);
    const std::string report = ReadFile(dir.path() / "out.txt");
    EXPECT_NE(report.find("Name of input data file:       in.trv\n"), std::string::npos);
    EXPECT_NE(report.find("The analysis ended normally. "), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.path() / "plot.txt"));
    EXPECT_TRUE(fs::exists(dir.path() / "msg.txt"));
}

TEST(RunFiles, EmptyInputFileIsInputError25) {
    const auto out = testing::RunInput("");
    EXPECT_EQ(out.code, 125);
    const auto report = out.ReportLines();
    const std::vector<std::string> expected = {
        "",
        "",
        "Trevasc ended prematurely due to input error number INP00025",
        "",
        "**** Input Data Error No. 25 ****",
        "",
        "Length of input file is 0 bytes.  No analysis can be performed.",
        "",
        "The analysis ended due to an input error. ",
    };
    EXPECT_EQ(report, expected);
    const std::vector<std::string> messages = {
        "",
        "",
        "**** Input Data Error No. 25 ****",
        "",
        "Size of input data file is 0 bytes.  No analysis performed.",
        "",
        "",
        "The analysis ended due to an input error. ",
    };
    EXPECT_EQ(out.MessageLines(), messages);
}

TEST(RunFiles, MissingOrUnreadableInputFileIsAnInputErrorNamingTheFile) {
    for (const char* name : {"absent.trv", "folder.trv"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        fs::create_directory(dir.path() / "folder.trv");  // opens, but cannot be read
        const RunPaths paths{(dir.path() / name).string(), (dir.path() / "r.txt").string(),
                             (dir.path() / "p.txt").string(), (dir.path() / "m.txt").string()};
        EXPECT_EQ(RunAnalysis(paths, FixedClock()), 181);
        const std::string report = ReadFile(paths.report);
        EXPECT_NE(report.find("**** Input Data Error No. 81 ****"), std::string::npos);
        EXPECT_NE(report.find(std::string(name) + " could not be opened or read."), std::string::npos);
        EXPECT_NE(report.find("Trevasc ended prematurely due to input error number INP00081"), std::string::npos);
        EXPECT_NE(ReadFile(paths.messages).find("The analysis ended due to an input error. "), std::string::npos);
    }
}

// Names are taken exactly: only the line end (LF, CRLF) is dropped, a blank
// at the end of a name belongs to it, and a line too long to be a name whole
// is refused rather than cut into the name of another file.
TEST(RunFiles, NamesFileLinesAreTakenExactly) {
    TempDir dir;
    std::string with_blank = MinimalInput();
    with_blank.replace(with_blank.find("Test problem"), 12, "Blank at the end");
    WriteFile(dir.path() / "in.trv", MinimalInput());
    WriteFile(dir.path() / "in.trv ", with_blank);
    WriteFile(dir.path() / "NAMES.DAT", "in.trv \r\nout.txt\nplot.txt\r\nmsg.txt");
    EXPECT_EQ(RunFromNamesFile(dir.path().string(), FixedClock()), 0);
    EXPECT_NE(ReadFile(dir.path() / "out.txt").find("Blank at the end"), std::string::npos);

    // A report name of exactly 256 characters is taken; one more is refused.
    fs::create_directory(dir.path() / "sub");
    const std::string relative_256 = "sub/" + std::string(256 - 8, 'r') + ".txt";
    WriteFile(dir.path() / "NAMES.DAT", "in.trv\n" + relative_256 + "\nplot.txt\nmsg.txt\n");
    EXPECT_EQ(RunFromNamesFile(dir.path().string(), FixedClock()), 0);
    EXPECT_TRUE(fs::exists(dir.path() / relative_256));

    const std::string relative_257 = "sub/r" + relative_256.substr(4);
    WriteFile(dir.path() / "NAMES.DAT", "in.trv\n" + relative_257 + "\nplot2.txt\nmsg2.txt\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunFromNamesFile(dir.path().string(), FixedClock()), 252);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("**** Runtime Error No. 52 ****"), std::string::npos) << err;
    EXPECT_NE(err.find("Line 2 of NAMES.DAT is longer than 256 characters, so the name of the output report file "
                       "cannot be taken whole:"),
              std::string::npos)
        << err;
    EXPECT_FALSE(fs::exists(dir.path() / "msg2.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "plot2.txt"));
}

TEST(RunFiles, UncreatableOutputIsRuntimeError91) {
    TempDir dir;
    WriteFile(dir.path() / "in.trv", MinimalInput());
    const RunPaths paths{(dir.path() / "in.trv").string(), (dir.path() / "no-such-dir" / "r.txt").string(),
                         (dir.path() / "p.txt").string(), (dir.path() / "m.txt").string()};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunAnalysis(paths, FixedClock()), 291);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not be created"), std::string::npos);
}

// The shared library is what a host loads: TRVRUN is exported by name, a wrong
// interface code touches nothing, and the right one runs NAMES.DAT in the
// current directory.
TEST(RunFiles, SharedLibraryExportsTrvrunByName) {
    void* library = dlopen(TREVASC_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Entry = std::int32_t (*)(std::int32_t);
    auto entry = reinterpret_cast<Entry>(dlsym(library, "TRVRUN"));
    ASSERT_NE(entry, nullptr);
    // The documented C++ API is exported too; the engine's internals are not.
    EXPECT_NE(dlsym(library, "_ZN7trevasc11RunAnalysisERKNS_8RunPathsERKNS_10RunOptionsE"), nullptr);
    EXPECT_NE(dlsym(library, "TrevascRunFromPaths"), nullptr);
    EXPECT_EQ(dlsym(library, "_ZN7trevasc5input17ReadCurrentFormatERNS_10RunContextE"), nullptr);

    TempDir dir;
    WriteFile(dir.path() / "in.trv", MinimalInput());
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    for (const std::int32_t wrong : {0, 7925, 7927, -7926}) EXPECT_EQ(entry(wrong), 99);
    EXPECT_FALSE(fs::exists(dir.path() / "NAMES.DAT"));
    WriteFile(dir.path() / "NAMES.DAT", "in.trv\nout.txt\nplot.txt\nmsg.txt\n");
    const std::int32_t code = entry(7926);
    const std::int32_t second = entry(7926);
    fs::current_path(previous);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(second, 0);
    EXPECT_NE(ReadFile(dir.path() / "out.txt").find("The analysis ended normally. "), std::string::npos);
    dlclose(library);
}

TEST(RunFiles, WrongInterfaceCodeCreatesNoFile) {
    void* library = dlopen(TREVASC_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<std::int32_t (*)(std::int32_t)>(dlsym(library, "TRVRUN"));
    ASSERT_NE(entry, nullptr);
    TempDir dir;
    WriteFile(dir.path() / "NAMES.DAT", "in.trv\nout.txt\nplot.txt\nmsg.txt\n");
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    const std::int32_t code = entry(1234);
    fs::current_path(previous);
    EXPECT_EQ(code, 99);
    int files = 0;
    for ([[maybe_unused]] const auto& entry_path : fs::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);  // only NAMES.DAT
    dlclose(library);
}

}  // namespace
}  // namespace trevasc

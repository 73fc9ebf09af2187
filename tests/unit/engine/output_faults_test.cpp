// Outputs that cannot be written, outputs that would overwrite the input or
// each other, and what a failed run leaves of the files of an earlier run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/run_sequence.hpp"
#include "support/run_fixture.hpp"
#include "support/small_file_system.hpp"
#include "trevasc/run.hpp"

namespace trevasc {
namespace {

namespace fs = std::filesystem;
using testing::MinimalInput;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

using testing::FixedClock;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Files in `dir` whose name marks them as temporary outputs.
std::vector<std::string> TemporaryFiles(const fs::path& dir) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) found.push_back(name);
    }
    return found;
}

// The three outputs of a run in `dir`, seeded with the files of an earlier run.
struct Outputs {
    explicit Outputs(const fs::path& dir)
        : paths{(dir / "in.trv").string(), (dir / "report.txt").string(), (dir / "plot.txt").string(),
                (dir / "messages.txt").string()} {
        WriteFile(paths.input, MinimalInput());
        WriteFile(paths.report, "old report\n");
        WriteFile(paths.plot, "old plot\n");
        WriteFile(paths.messages, "old messages\n");
    }
    RunPaths paths;
};

// A file system that fails: the bytes pass to the real file until the
// budget is spent, then the chosen step fails with the chosen error.
enum class Step { kWrite, kFlush, kClose };

class FailingWriter final : public report::OutputWriter {
public:
    FailingWriter(std::unique_ptr<report::OutputWriter> real, Step step, std::size_t budget, int error)
        : real_(std::move(real)), step_(step), budget_(budget), error_(error) {}
    int Write(std::string_view bytes) override {
        if (step_ != Step::kWrite || bytes.size() <= budget_) {
            if (step_ == Step::kWrite) budget_ -= bytes.size();
            return real_->Write(bytes);
        }
        real_->Write(bytes.substr(0, budget_));  // a full disk takes what fits
        budget_ = 0;
        return error_;
    }
    int Truncate() override { return real_->Truncate(); }
    int Flush() override { return step_ == Step::kFlush ? error_ : real_->Flush(); }
    int Close() override {
        const int real = real_->Close();
        return step_ == Step::kClose ? error_ : real;
    }

private:
    std::unique_ptr<report::OutputWriter> real_;
    Step step_;
    std::size_t budget_;
    int error_;
};

TEST(OutputFaults, AFailedWriteEndsTheRunWithError50AndKeepsTheEarlierResults) {
    struct Case {
        const char* file;  // the output that fails
        Step step;
        std::size_t budget;
        int error;
        const char* stderr_text;
        bool results_in_place;  // the failure came after the report and plot were in place
    };
    const Case kCases[] = {
        {"report.txt", Step::kWrite, 1000, ENOSPC, "could not be written: No space left on device.", false},
        {"report.txt", Step::kClose, 0, EIO, "could not be written: Input/output error.", false},
        {"plot.txt", Step::kWrite, 0, ENOSPC, "could not be written: No space left on device.", false},
        {"plot.txt", Step::kClose, 0, EIO, "could not be written: Input/output error.", false},
        {"messages.txt", Step::kWrite, 0, ENOSPC, "could not be written: No space left on device.", false},
        {"messages.txt", Step::kWrite, 40, ENOSPC, "could not be written: No space left on device.", false},
        {"messages.txt", Step::kFlush, 0, ENOSPC, "could not be written: No space left on device.", false},
        {"messages.txt", Step::kClose, 0, EIO, "could not be written: Input/output error.", true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.file) + " step " + std::to_string(static_cast<int>(c.step)) + " budget " +
                     std::to_string(c.budget));
        TempDir dir;
        const Outputs outputs(dir.path());
        auto wrap = [&c](std::unique_ptr<report::OutputWriter> real,
                         const fs::path& path) -> std::unique_ptr<report::OutputWriter> {

            if (path.filename() != c.file) return real;
            return std::make_unique<FailingWriter>(std::move(real), c.step, c.budget, c.error);
        };
        ::testing::internal::CaptureStderr();
        const std::int32_t code = engine::RunWithWriterWrap(outputs.paths, FixedClock(), wrap);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, 250);
        EXPECT_TRUE(Contains(err, "**** Runtime Error No. 50 ****")) << err;
        EXPECT_TRUE(Contains(err, (dir.path() / c.file).string() + " " + c.stderr_text)) << err;
        EXPECT_EQ(TemporaryFiles(dir.path()), std::vector<std::string>());
        const std::string report = ReadFile(outputs.paths.report);
        const std::string messages = ReadFile(outputs.paths.messages);
        if (c.results_in_place) {
            // Only the close of the message file failed, after all was written.
            EXPECT_TRUE(Contains(report, "The analysis ended normally. "));
            EXPECT_TRUE(Contains(ReadFile(outputs.paths.plot), "Line 1"));
            EXPECT_TRUE(Contains(err, "The report and plot output file of this run are complete.")) << err;
        } else {
            EXPECT_EQ(report, "old report\n");
            EXPECT_EQ(ReadFile(outputs.paths.plot), "old plot\n");
            EXPECT_TRUE(Contains(err, "were not kept; files of an earlier run stay unchanged.")) << err;
            EXPECT_FALSE(Contains(messages, "The analysis ended normally.")) << messages;
        }
        if (std::string(c.file) != "messages.txt") {
            // The message file still works: it says what went wrong.
            EXPECT_TRUE(Contains(messages, "**** Runtime Error No. 50 ****")) << messages;
            EXPECT_TRUE(Contains(messages, "The analysis ended due to a runtime error. ")) << messages;
        }
    }
}

// A device full of nothing: every write fails as on a full disk. The device
// is written in place and left a device.
TEST(OutputFaults, MessageFileOnAFullDevice) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "this machine has no /dev/full";
    TempDir dir;
    Outputs outputs(dir.path());
    outputs.paths.messages = "/dev/full";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunAnalysis(outputs.paths, FixedClock()), 250);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Contains(err, "The runtime message file /dev/full could not be written: No space left on device."))
        << err;
    EXPECT_EQ(ReadFile(outputs.paths.report), "old report\n");
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// A device or pipe named as an output is written directly, never replaced:
// /dev/null stays /dev/null and the run ends normally, also when it takes
// two outputs.
TEST(OutputFaults, PlotAndMessageFileOnTheNullDevice) {
    TempDir dir;
    Outputs outputs(dir.path());
    outputs.paths.plot = "/dev/null";
    outputs.paths.messages = "/dev/null";
    EXPECT_EQ(RunAnalysis(outputs.paths, FixedClock()), 0);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(Contains(ReadFile(outputs.paths.report), "The analysis ended normally. "));
    EXPECT_EQ(TemporaryFiles(dir.path()), std::vector<std::string>());
}

TEST(OutputFaults, RealSmallFileSystem) {
    TempDir dir;
    const testing::SmallFileSystem small(dir.path() / "small", "64k");
    if (!small.mounted()) GTEST_SKIP() << "cannot mount a 64 KiB file system here (" << small.reason() << ")";
    const fs::path out = dir.path() / "small";

    // Outputs larger than the file system: the analysis runs, nothing false is
    // claimed and no partial report or temporary file is left.
    const fs::path big_input = fs::path(TREVASC_TEST_CASES_DIR) / "lrfd_battered_two_sections" / "input.trv";
    const RunPaths big{big_input.string(), (out / "r.txt").string(), (out / "p.txt").string(),
                       (out / "m.txt").string()};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunAnalysis(big, FixedClock()), 250);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Contains(err, "could not be written: No space left on device.")) << err;
    EXPECT_FALSE(fs::exists(big.report));
    EXPECT_FALSE(fs::exists(big.plot));
    EXPECT_EQ(TemporaryFiles(out), std::vector<std::string>());
    EXPECT_FALSE(Contains(ReadFile(big.messages), "The analysis ended normally."));
    fs::remove(big.messages);

    // A disk already full: the run says so instead of blaming a file name.
    small.Fill();
    TempDir input_dir;
    WriteFile(input_dir.path() / "in.trv", MinimalInput());
    const RunPaths small_run{(input_dir.path() / "in.trv").string(), (out / "r.txt").string(),
                             (out / "p.txt").string(), (out / "m.txt").string()};
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunAnalysis(small_run, FixedClock()), 250);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Contains(err, "could not be written: No space left on device.")) << err;
    EXPECT_FALSE(fs::exists(small_run.report));
}

// ---------------------------------------------------------------------------
// Outputs that are the input or each other

TEST(OutputCollisions, AnOutputThatIsTheInputOrAnotherOutputStopsBeforeAnyFileIsOpened) {
    struct Case {
        const char* what;
        // Given the folder, returns the paths; may create links.
        RunPaths (*make)(const fs::path& dir);
        const char* stderr_text;
    };
    const Case kCases[] = {
        {"report is the input",
         [](const fs::path& d) { return RunPaths{(d / "in.trv").string(), (d / "in.trv").string(), (d / "p").string(),
                                                 (d / "m").string()}; },
         "The output report file DIR/in.trv is the input data file DIR/in.trv."},
        {"report is the input spelt differently",
         [](const fs::path& d) {
             return RunPaths{(d / "in.trv").string(), (d / "sub" / ".." / "." / "in.trv").string(), (d / "p").string(),
                             (d / "m").string()};
         },
         "The output report file DIR/sub/.././in.trv is the input data file DIR/in.trv."},
        {"plot is a symbolic link to the input",
         [](const fs::path& d) {
             fs::create_symlink("in.trv", d / "link");
             return RunPaths{(d / "in.trv").string(), (d / "r").string(), (d / "link").string(), (d / "m").string()};
         },
         "The plot output file DIR/link is the input data file DIR/in.trv."},
        {"messages is a hard link to the input",
         [](const fs::path& d) {
             fs::create_hard_link(d / "in.trv", d / "hard");
             return RunPaths{(d / "in.trv").string(), (d / "r").string(), (d / "p").string(), (d / "hard").string()};
         },
         "The runtime message file DIR/hard is the input data file DIR/in.trv."},
        {"report and plot share a new path",
         [](const fs::path& d) {
             return RunPaths{(d / "in.trv").string(), (d / "out").string(), (d / "sub" / ".." / "out").string(),
                             (d / "m").string()};
         },
         "The plot output file DIR/sub/../out is the same file as the output report file DIR/out."},
        {"messages is a dangling link to the new report",
         [](const fs::path& d) {
             fs::create_symlink("out", d / "dangling");
             return RunPaths{(d / "in.trv").string(), (d / "out").string(), (d / "p").string(),
                             (d / "dangling").string()};
         },
         "The runtime message file DIR/dangling is the same file as the output report file DIR/out."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        fs::create_directory(dir.path() / "sub");
        const std::string input = MinimalInput();
        WriteFile(dir.path() / "in.trv", input);
        const RunPaths paths = c.make(dir.path());
        std::vector<fs::path> before;
        for (const auto& entry : fs::directory_iterator(dir.path())) before.push_back(entry.path());
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunAnalysis(paths, FixedClock()), 251);
        const std::string err = ::testing::internal::GetCapturedStderr();
        std::string expected = c.stderr_text;
        for (std::size_t at; (at = expected.find("DIR")) != std::string::npos;) {
            expected.replace(at, 3, dir.path().string());
        }
        EXPECT_TRUE(Contains(err, "**** Runtime Error No. 51 ****")) << err;
        EXPECT_TRUE(Contains(err, expected)) << err;
        EXPECT_EQ(ReadFile(dir.path() / "in.trv"), input);
        std::vector<fs::path> after;
        for (const auto& entry : fs::directory_iterator(dir.path())) after.push_back(entry.path());
        EXPECT_EQ(after.size(), before.size()) << "the run created a file";
    }
}

TEST(OutputCollisions, NamesFileNamingTheInputAsTheReport) {
    TempDir dir;
    const std::string input = MinimalInput();
    WriteFile(dir.path() / "in.trv", input);
    WriteFile(dir.path() / "NAMES.DAT", "in.trv\nin.trv\nplot.txt\nmsg.txt\n");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunFromNamesFile(dir.path().string(), FixedClock()), 251);
    EXPECT_TRUE(Contains(::testing::internal::GetCapturedStderr(),
                         "The output report file in.trv is the input data file in.trv."));
    EXPECT_EQ(ReadFile(dir.path() / "in.trv"), input);
    EXPECT_FALSE(fs::exists(dir.path() / "msg.txt"));
}

// ---------------------------------------------------------------------------
// What a run leaves of an earlier run's files

TEST(EarlierResults, ARunThatCannotCreateItsPlotFileChangesNothing) {
    struct Case {
        const char* what;
        bool folder;      // a folder stands where the plot file should go
        const char* reason;
    };
    const Case kCases[] = {
        {"a folder of that name", true, "Is a directory"},
        {"a name longer than a file name may be", false, "File name too long"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        Outputs outputs(dir.path());
        if (c.folder) {
            fs::remove(outputs.paths.plot);
            fs::create_directory(outputs.paths.plot);
        } else {
            outputs.paths.plot = (dir.path() / std::string(300, 'p')).string();
        }
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunAnalysis(outputs.paths, FixedClock()), 291);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(Contains(err, "The plot output file " + outputs.paths.plot + " could not be created: " + c.reason +
                                      ". No analysis performed."))
            << err;
        EXPECT_EQ(ReadFile(outputs.paths.report), "old report\n");
        EXPECT_EQ(ReadFile(outputs.paths.messages), "old messages\n");
        EXPECT_EQ(TemporaryFiles(dir.path()), std::vector<std::string>());
    }
}

TEST(EarlierResults, ARunThatEndsWithAnInputErrorReplacesThemWithItsErrorReport) {
    TempDir dir;
    const Outputs outputs(dir.path());
    WriteFile(outputs.paths.input, MinimalInput("Units FURLONGS"));
    EXPECT_EQ(RunAnalysis(outputs.paths, FixedClock()), 199);
    EXPECT_TRUE(Contains(ReadFile(outputs.paths.report), "The analysis ended due to an input error. "));
    EXPECT_EQ(ReadFile(outputs.paths.plot), "");
    EXPECT_TRUE(Contains(ReadFile(outputs.paths.messages), "The analysis ended due to an input error. "));
    EXPECT_EQ(TemporaryFiles(dir.path()), std::vector<std::string>());
}

// A replaced output stays what it was to the user: a link stays a link (the
// file it points to gets the results) and the permissions are kept.
TEST(EarlierResults, AReplacedOutputKeepsItsLinkAndPermissions) {
    TempDir dir;
    const Outputs outputs(dir.path());
    fs::create_directory(dir.path() / "shared");
    const fs::path target = dir.path() / "shared" / "report.txt";
    WriteFile(target, "old report\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::remove(outputs.paths.report);
    fs::create_symlink(target, outputs.paths.report);
    EXPECT_EQ(RunAnalysis(outputs.paths, FixedClock()), 0);
    EXPECT_TRUE(fs::is_symlink(outputs.paths.report));
    EXPECT_TRUE(Contains(ReadFile(target), "The analysis ended normally. "));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(TemporaryFiles(dir.path() / "shared"), std::vector<std::string>());
}

}  // namespace
}  // namespace trevasc

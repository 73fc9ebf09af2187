// What `trevasc run` needs around the engine call: a private run-control
// folder for each run, a check that the outputs were written, and the error
// of a failed run on the console.
#pragma once

#include <sys/types.h>

#include <array>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trevasc::host {

// A folder of one run's own for its NAMES.DAT, so that runs started at the
// same time in one folder never read each other's control file and no
// control file is left among the user's files. Created in `parent`; removed
// with its contents when the object goes.
class PrivateRunFolder {
public:
    // Throws std::system_error when the folder cannot be created.
    explicit PrivateRunFolder(const std::filesystem::path& parent);
    ~PrivateRunFolder();
    PrivateRunFolder(const PrivateRunFolder&) = delete;
    PrivateRunFolder& operator=(const PrivateRunFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Writes NAMES.DAT (input, report, plot and message file, one a line) into
// `folder`, checked up to its close. Returns an empty string, or why the file
// could not be written.
std::string WriteNamesFile(const std::filesystem::path& folder, const std::array<std::string, 4>& lines);

// Enough of a file's state to tell whether a run wrote it: a file replaced or
// written has a new inode or a new modification time.
struct FileStamp {
    bool exists = false;
    bool regular = false;  // a device or pipe cannot be told apart this way
    ino_t inode = 0;
    std::timespec modified{};
    bool operator==(const FileStamp& other) const;
};
FileStamp StampOf(const std::filesystem::path& path);

// The error block of a run message file: from its first error heading to its
// end, trailing blanks and blank lines dropped. Empty when there is none.
std::vector<std::string> ErrorBlock(const std::filesystem::path& messages);

// For errors whose message goes to the report only: the paragraph before the
// report's "Trevasc ended prematurely ..." line, a blank line and that line.
// Empty when the report has no such line.
std::vector<std::string> ReportErrorBlock(const std::filesystem::path& report);

// The line an unrecognised-line message shows (the line that follows "The
// following line is unrecognized or is out-of-order" and a blank line), or
// nothing when the block holds no such message.
std::optional<std::string> UnrecognizedLine(const std::vector<std::string>& block);

// 1-based numbers of the lines of `input` that are `shown` as the engine shows
// a line it read: its first 256 characters, trailing blanks aside. Lines end
// with LF, CRLF or CR; a UTF-8 byte-order mark at the start is skipped, as the
// engine reads them. The file is read as a stream.
std::vector<int> MatchingLines(const std::filesystem::path& input, std::string_view shown);

}  // namespace trevasc::host

#include "run_host.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace trevasc::host {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kShownLength = 256;  // the engine shows a line as a record of this length

std::string TrimRight(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

// A heading such as "**** Input Data Error No. 80 ****", "***** INPUT ERROR
// *****" or "**** Runtime Error No. 90 ****"; warning headings that mention
// an error ("**** Warning - Possible Input Data Error ****") are not errors.
bool IsErrorHeading(std::string_view line) {
    if (line.rfind("****", 0) != 0) return false;
    if (line.find("Warning") != std::string_view::npos) return false;
    return line.find("Error") != std::string_view::npos || line.find("ERROR") != std::string_view::npos;
}

// Reads a text file line by line with the engine's line ends (LF, CRLF, CR)
// and without a leading UTF-8 byte-order mark.
class LineReader {
public:
    explicit LineReader(const fs::path& path) : file_(std::fopen(path.c_str(), "rb")) {
        if (file_ == nullptr) return;
        unsigned char head[3] = {};
        const bool marked = std::fread(head, 1, 3, file_) == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF;
        if (!marked) std::rewind(file_);
    }
    ~LineReader() {
        if (file_ != nullptr) std::fclose(file_);
    }
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line, of which only the first `keep` characters are kept.
    bool Next(std::string& line, std::size_t keep) {
        if (file_ == nullptr) return false;
        line.clear();
        int c = getc_unlocked(file_);
        if (c == EOF) return false;
        for (; c != EOF; c = getc_unlocked(file_)) {
            if (c == '\n') break;
            if (c == '\r') {
                const int next = getc_unlocked(file_);
                if (next != '\n' && next != EOF) std::ungetc(next, file_);
                break;
            }
            if (line.size() < keep) line += static_cast<char>(c);
        }
        return true;
    }

private:
    std::FILE* file_;
};

}  // namespace

PrivateRunFolder::PrivateRunFolder(const fs::path& parent) {
    std::string pattern = (parent / ".trevasc-run-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "cannot create a run folder in " + parent.string());
    }
    path_ = pattern;
}

PrivateRunFolder::~PrivateRunFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string WriteNamesFile(const fs::path& folder, const std::array<std::string, 4>& lines) {
    const fs::path path = folder / "NAMES.DAT";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return std::generic_category().message(errno);
    bool written = true;
    for (const std::string& line : lines) {
        written = written && std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                  std::fputc('\n', file) != EOF;
    }
    int error = written ? 0 : errno;
    if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    if (!written && error == 0) error = EIO;
    return error == 0 ? std::string() : std::generic_category().message(error);
}

bool FileStamp::operator==(const FileStamp& other) const {
    return exists == other.exists && regular == other.regular && inode == other.inode && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec;
}

FileStamp StampOf(const fs::path& path) {
    FileStamp stamp;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return stamp;
    stamp.exists = true;
    stamp.regular = S_ISREG(status.st_mode);
    stamp.inode = status.st_ino;
    stamp.modified = status.st_mtim;
    return stamp;
}

std::vector<std::string> ErrorBlock(const fs::path& messages) {
    LineReader reader(messages);
    std::vector<std::string> block;
    std::string line;
    while (reader.Next(line, std::string::npos)) {
        if (block.empty() && !IsErrorHeading(line)) continue;
        block.push_back(TrimRight(line));
    }
    while (!block.empty() && block.back().empty()) block.pop_back();
    return block;
}

std::vector<std::string> ReportErrorBlock(const fs::path& report) {
    LineReader reader(report);
    std::vector<std::string> block;
    std::vector<std::string> paragraph;  // the lines since the last blank line
    std::vector<std::string> previous;   // the paragraph before it
    std::string line;
    while (reader.Next(line, std::string::npos)) {
        const std::string text = TrimRight(line);
        if (text.rfind("Trevasc ended prematurely due to", 0) == 0) {
            block = paragraph.empty() ? previous : paragraph;
            block.push_back("");
            block.push_back(text);
        }
        if (!text.empty()) {
            paragraph.push_back(text);
        } else if (!paragraph.empty()) {
            previous = std::move(paragraph);
            paragraph.clear();
        }
    }
    return block;
}

std::optional<std::string> UnrecognizedLine(const std::vector<std::string>& block) {
    constexpr std::string_view kIntroduction = "The following line is unrecognized or is out-of-order";
    for (std::size_t i = 0; i + 2 < block.size(); ++i) {
        if (block[i] == kIntroduction && block[i + 1].empty()) return block[i + 2];
    }
    return std::nullopt;
}

std::vector<int> MatchingLines(const fs::path& input, std::string_view shown) {
    const std::string wanted = TrimRight(shown.substr(0, std::min(shown.size(), kShownLength)));
    LineReader reader(input);
    std::vector<int> numbers;
    std::string line;
    for (int number = 1; reader.Next(line, kShownLength); ++number) {
        if (TrimRight(line) == wanted) numbers.push_back(number);
    }
    return numbers;
}

}  // namespace trevasc::host

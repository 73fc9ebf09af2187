// The input data file of a run as a sequence of records (lines), read as a
// stream. It is one of the four files of a run, beside the report, the plot
// file and the message file; the readers of the input formats take their
// values from it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace trevasc::run {

constexpr std::size_t kRecordLength = 256;  // keyword, option and title records are cut here
// Data lines are read whole up to this length; a longer line cannot be taken
// whole, and the reader says so instead of reading a part of it. The limit
// also bounds what one line can cost in memory.
constexpr std::size_t kMaxLineLength = 65536;

// The input file as a sequence of records (lines), read as a stream: only the
// current line and a buffer of the file are held, whatever the file's size.
// Lines end with LF, CRLF or a lone CR, so that files saved on any platform
// read alike, and a UTF-8 byte-order mark at the start of the file is skipped.
class InputFile {
public:
    InputFile() = default;
    // A file held in memory (tests, and hosts that hand over a text).
    explicit InputFile(std::string_view contents);
    // A file on disk, read as a stream. False when it cannot be opened; the
    // reason is in ReadError().
    bool Open(const std::filesystem::path& path);

    // Next record, cut at kRecordLength characters; false at the end of the file.
    bool ReadRecord(std::string& record);
    // The same, but the whole line (up to kMaxLineLength characters).
    bool ReadLine(std::string& line);
    void Rewind();
    bool AtEnd();
    // 1-based number of the record last read (0 before the first read).
    int LineNumber() const { return line_number_; }
    // Text of the record last read (uncut up to kMaxLineLength), for error messages.
    const std::string& LastLine() const { return line_; }
    // The record last read was longer than kMaxLineLength and was cut there.
    bool LastLineTooLong() const { return too_long_; }
    // The operating system could not read the file (to its end); errno value,
    // 0 when all went well. Such a file looks as if it ended early.
    int ReadError() const { return read_error_; }
    // The file has no bytes at all (a byte-order mark alone is not nothing).
    bool HoldsNoBytes() const { return holds_no_bytes_; }

private:
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    bool Fill();
    bool Available();
    void Start();

    std::unique_ptr<std::FILE, CloseFile> file_;  // null for a file held in memory
    std::string buffer_;                          // the whole text in memory, or the current chunk
    std::size_t pos_ = 0;
    int line_number_ = 0;
    std::string line_;
    bool too_long_ = false;
    int read_error_ = 0;
    bool holds_no_bytes_ = true;
};

}  // namespace trevasc::run

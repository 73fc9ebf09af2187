// A sequential text output written record by record, with Fortran-style
// positioning inside the current record (Tn continues at column n).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace trevasc {

class OutputChannel {
public:
    OutputChannel() = default;
    ~OutputChannel();
    OutputChannel(const OutputChannel&) = delete;
    OutputChannel& operator=(const OutputChannel&) = delete;

    // Creates or empties the file. False when it cannot be opened for writing.
    bool Open(const std::filesystem::path& path);
    bool IsOpen() const { return file_ != nullptr || in_memory_; }

    // Writes to a string held by the channel instead of a file: the same
    // records, byte for byte, with no file system touched.
    void OpenInMemory();
    // The text written to the in-memory target so far (complete after Close).
    const std::string& MemoryText() const { return memory_; }

    // Appends text at the current position of the current record.
    void Write(std::string_view text);
    // Continues the current record at column n (1-based), padding with blanks.
    void Tab(int column);
    // Ends the current record.
    void EndLine();
    // Writes text and ends the record.
    void Line(std::string_view text);
    // Writes `count` empty records.
    void Blank(int count = 1);
    // Empties the file and starts again from its first record.
    void Rewind();
    // Ends a pending record and closes the file; safe to call twice.
    void Close();

    int Column() const { return static_cast<int>(position_) + 1; }

private:
    std::FILE* file_ = nullptr;
    std::filesystem::path path_;
    std::string record_;
    std::size_t position_ = 0;
    bool pending_ = false;  // a record has been started and not ended
    bool in_memory_ = false;
    std::string memory_;
};

}  // namespace trevasc

// A sequential text output written record by record, with Fortran-style
// positioning inside the current record (Tn continues at column n).
//
// Every write, flush and close is checked. A channel that fails once drops
// what follows and remembers the first failure, so that the run can end with
// an error instead of reporting a normal end over a file it could not write.
// A channel may write its file in place, or write a temporary file beside it
// that replaces the file only when everything was written: the previous file
// then survives a run that cannot write its outputs.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace trevasc::report {

// Where a channel's bytes go. Each call returns 0, or the errno value of its
// failure.
class OutputWriter {
public:
    virtual ~OutputWriter() = default;
    virtual int Write(std::string_view bytes) = 0;
    // Empties the file and continues from its start.
    virtual int Truncate() = 0;
    virtual int Flush() = 0;
    // Flushes and closes; called once.
    virtual int Close() = 0;
};

// The writer of an open file; it takes ownership of `file`.
std::unique_ptr<OutputWriter> MakeFileWriter(std::FILE* file);

// The file a path finally names: symbolic links followed (also a link whose
// target does not exist yet, since writing through it creates the target).
std::filesystem::path FollowLinks(const std::filesystem::path& path);

class OutputChannel {
public:
    enum class Placement {
        kInPlace,         // the file itself is written, so a reader can follow it during the run
        kReplaceAtClose,  // a temporary file beside it is written and moved over it at Close
    };
    // The step at which the channel failed first.
    enum class Failure { kNone, kCreate, kWrite, kClose, kReplace };
    // Every writer of a channel is passed through this when it is set (tests
    // wrap the file writer in one that fails); `path` is the file named.
    using WriterWrap =
        std::function<std::unique_ptr<OutputWriter>(std::unique_ptr<OutputWriter>, const std::filesystem::path& path)>;

    OutputChannel() = default;
    ~OutputChannel();
    OutputChannel(const OutputChannel&) = delete;
    OutputChannel& operator=(const OutputChannel&) = delete;

    // Creates or empties the file, written in place. False when it cannot be
    // opened for writing.
    bool Open(const std::filesystem::path& path);
    // Opens the file for writing without changing what it holds yet: in place
    // it is created when missing but not emptied (Start does that); otherwise
    // a temporary file is created beside it. A path that exists and is not a
    // regular file (a device, a pipe) is always written in place. False when
    // the file cannot be written; Error() tells why.
    bool Connect(const std::filesystem::path& path, Placement placement, const WriterWrap& wrap = {});
    // Empties a file connected in place; false when that fails.
    bool Start();
    bool IsOpen() const { return writer_ != nullptr; }

    // Writes to a string held by the channel instead of a file: the same
    // records, byte for byte, with no file system touched. `room` bytes are
    // reserved at once: the size the text is expected to reach.
    void OpenInMemory(std::size_t room = 0);
    // The text written to the in-memory target so far (complete after Close).
    const std::string& MemoryText() const { return memory_; }
    // The in-memory text handed over whole, without a copy; the channel holds
    // none after it. For a closed channel.
    std::string TakeMemoryText() { return std::move(memory_); }

    // Appends text at the current position of the current record.
    void Write(std::string_view text);
    // Continues the current record at column n (1-based), padding with blanks.
    void Tab(int column);
    // Ends the current record.
    void EndLine();
    // Writes text and ends the record.
    void Line(std::string_view text);
    // An empty buffer in which a caller forms a whole record before it ends
    // it with ScratchLine. The channel keeps it from record to record, so
    // that forming records allocates nothing once it has grown; what it holds
    // is the caller's until the next call.
    std::string& RecordScratch() {
        scratch_.clear();
        return scratch_;
    }
    // Writes what the scratch buffer holds as Line would write it, without
    // copying it into the record first when no record is pending.
    void ScratchLine();
    // Writes `count` empty records.
    void Blank(int count = 1);
    // Empties the file and starts again from its first record.
    void Rewind();
    // Hands what was written so far to the file system; false when the
    // channel has failed.
    bool Flush();
    // Ends a pending record, writes everything out and closes the file; a
    // temporary file stays beside its path until Commit or Abandon. False
    // when anything the channel wrote failed. Safe to call twice.
    bool Finish();
    // Moves a finished temporary file over its path (nothing to do in place).
    // A channel that failed is abandoned instead. False on any failure.
    bool Commit();
    // Finish and Commit.
    bool Close();
    // Closes without keeping the temporary file: the path keeps what it held.
    // A file written in place keeps what was written.
    void Abandon();

    int Column() const { return static_cast<int>(position_) + 1; }
    bool Failed() const { return failure_ != Failure::kNone; }
    Failure FailedAt() const { return failure_; }
    int Error() const { return error_; }  // errno of the first failure

private:
    void Fail(Failure step, int error);
    void RemoveTemporary();

    std::unique_ptr<OutputWriter> writer_;
    std::filesystem::path temporary_;  // set while a temporary file stands beside target_
    std::filesystem::path target_;
    bool in_place_ = true;
    std::string record_;
    std::size_t position_ = 0;
    bool pending_ = false;  // a record has been started and not ended
    Failure failure_ = Failure::kNone;
    int error_ = 0;
    std::string memory_;  // the text of a channel written in memory
    std::string scratch_;  // see RecordScratch
};

}  // namespace trevasc::report

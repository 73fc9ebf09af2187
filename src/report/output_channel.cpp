#include "report/output_channel.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <system_error>

namespace trevasc::report {

namespace fs = std::filesystem;

namespace {

// errno after a failed stdio call, or EIO when the library left it unset.
int LastError() { return errno != 0 ? errno : EIO; }

class FileWriter final : public OutputWriter {
public:
    explicit FileWriter(std::FILE* file) : file_(file) {}
    ~FileWriter() override {
        if (file_ != nullptr) std::fclose(file_);
    }
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    int Write(std::string_view bytes) override {
        errno = 0;
        if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) return LastError();
        return 0;
    }
    int Truncate() override {
        errno = 0;
        if (std::fflush(file_) != 0) return LastError();
        struct stat status {};
        if (::fstat(::fileno(file_), &status) != 0) return errno;
        if (!S_ISREG(status.st_mode)) return 0;  // a device or a pipe has nothing to empty
        if (::ftruncate(::fileno(file_), 0) != 0) return errno;
        if (std::fseek(file_, 0, SEEK_SET) != 0) return LastError();
        return 0;
    }
    int Flush() override {
        errno = 0;
        return std::fflush(file_) == 0 ? 0 : LastError();
    }
    int Close() override {
        std::FILE* file = file_;
        file_ = nullptr;
        errno = 0;
        return std::fclose(file) == 0 ? 0 : LastError();
    }

private:
    std::FILE* file_;
};

// The writer of a channel held in memory: appends to the channel's string.
class MemoryWriter final : public OutputWriter {
public:
    explicit MemoryWriter(std::string& text) : text_(text) {}
    int Write(std::string_view bytes) override {
        text_.append(bytes);
        return 0;
    }
    int Truncate() override {
        text_.clear();
        return 0;
    }
    int Flush() override { return 0; }
    int Close() override { return 0; }

private:
    std::string& text_;
};

// Creates a new file beside `target` (same folder, so that it can be renamed
// over it) with a name no other run uses, with the permissions a new file
// gets. Returns the descriptor, or -1 with errno set.
int CreateTemporaryBeside(const fs::path& target, fs::path& temporary) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    constexpr std::size_t kNameKept = 200;  // room for the suffix within a file name's 255 bytes
    const std::string name = target.filename().string().substr(0, kNameKept);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        for (int i = 0; i < 8; ++i) suffix += kLetters[random() % (sizeof kLetters - 1)];
        temporary = target.parent_path() / ("." + name + "." + suffix + ".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    const int error = errno;
    temporary.clear();
    errno = error;
    return -1;
}

}  // namespace

std::unique_ptr<OutputWriter> MakeFileWriter(std::FILE* file) { return std::make_unique<FileWriter>(file); }

fs::path FollowLinks(const fs::path& path) {
    constexpr int kMaxLinks = 40;  // as the kernel allows before ELOOP
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec)) return current;
        const fs::path link = fs::read_symlink(current, ec);
        if (ec) return current;
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    return current;
}

OutputChannel::~OutputChannel() {
    if (in_place_) {
        Close();
    } else {
        Abandon();
    }
}

void OutputChannel::OpenInMemory(std::size_t room) {
    Abandon();
    failure_ = Failure::kNone;
    error_ = 0;
    target_.clear();
    in_place_ = true;
    record_.clear();
    position_ = 0;
    pending_ = false;
    memory_.clear();
    // Room for the text of a short run at once, so that it does not grow
    // through every smaller size on its way there (and leave each behind).
    memory_.reserve(room);
    writer_ = std::make_unique<MemoryWriter>(memory_);
}

bool OutputChannel::Open(const fs::path& path) { return Connect(path, Placement::kInPlace) && Start(); }

bool OutputChannel::Connect(const fs::path& path, Placement placement, const WriterWrap& wrap) {
    Abandon();
    failure_ = Failure::kNone;
    error_ = 0;
    target_ = FollowLinks(path);
    struct stat status {};
    const bool exists = ::stat(target_.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode)) {
        Fail(Failure::kCreate, EISDIR);
        return false;
    }
    in_place_ = placement == Placement::kInPlace || (exists && !S_ISREG(status.st_mode));
    int fd = -1;
    if (in_place_) {
        fd = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    } else {
        // A file that could not be written in place is not replaced either.
        if (exists) {
            const int probe = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
            if (probe < 0) {
                Fail(Failure::kCreate, errno);
                return false;
            }
            ::close(probe);
        }
        // The temporary file's name is cut to fit; the file's own name must
        // fit as it is, or it could not be put in place at the end.
        const fs::path folder = target_.has_parent_path() ? target_.parent_path() : fs::path(".");
        const long name_max = ::pathconf(folder.c_str(), _PC_NAME_MAX);
        if (name_max > 0 && target_.filename().string().size() > static_cast<std::size_t>(name_max)) {
            Fail(Failure::kCreate, ENAMETOOLONG);
            return false;
        }
        fd = CreateTemporaryBeside(target_, temporary_);
        if (fd >= 0 && exists) ::fchmod(fd, status.st_mode & 07777);
    }
    if (fd < 0) {
        Fail(Failure::kCreate, errno);
        return false;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        RemoveTemporary();
        Fail(Failure::kCreate, error);
        return false;
    }
    writer_ = MakeFileWriter(file);
    if (wrap) writer_ = wrap(std::move(writer_), path);
    return true;
}

bool OutputChannel::Start() {
    if (writer_ == nullptr) return false;
    if (!in_place_ || Failed()) return !Failed();
    const int error = writer_->Truncate();
    if (error != 0) Fail(Failure::kCreate, error);
    return !Failed();
}

void OutputChannel::Fail(Failure step, int error) {
    if (Failed()) return;
    failure_ = step;
    error_ = error;
}

void OutputChannel::Write(std::string_view text) {
    pending_ = true;
    if (position_ > record_.size()) record_.append(position_ - record_.size(), ' ');
    const std::size_t overlap = std::min(text.size(), record_.size() - position_);
    record_.replace(position_, overlap, text.substr(0, overlap));
    record_.append(text.substr(overlap));
    position_ += text.size();
}

void OutputChannel::Tab(int column) {
    pending_ = true;
    position_ = column > 1 ? static_cast<std::size_t>(column - 1) : 0;
}

void OutputChannel::EndLine() {
    if (writer_ != nullptr && !Failed()) {
        record_ += '\n';
        const int error = writer_->Write(record_);
        if (error != 0) Fail(Failure::kWrite, error);
    }
    record_.clear();
    position_ = 0;
    pending_ = false;
}

void OutputChannel::Line(std::string_view text) {
    if (pending_) {
        Write(text);
        EndLine();
        return;
    }
    // A whole record: it needs no positioning, only its end of line.
    if (writer_ != nullptr && !Failed()) {
        record_.assign(text);
        record_ += '\n';
        const int error = writer_->Write(record_);
        if (error != 0) Fail(Failure::kWrite, error);
    }
    record_.clear();
}

void OutputChannel::ScratchLine() {
    if (pending_) {
        Line(scratch_);
        return;
    }
    if (writer_ != nullptr && !Failed()) {
        scratch_ += '\n';
        const int error = writer_->Write(scratch_);
        if (error != 0) Fail(Failure::kWrite, error);
    }
    record_.clear();
}

void OutputChannel::Blank(int count) {
    for (int i = 0; i < count; ++i) EndLine();
}

void OutputChannel::Rewind() {
    if (writer_ == nullptr) return;
    record_.clear();
    position_ = 0;
    pending_ = false;
    if (Failed()) return;
    const int error = writer_->Truncate();
    if (error != 0) Fail(Failure::kWrite, error);
}

bool OutputChannel::Flush() {
    if (writer_ != nullptr && !Failed()) {
        const int error = writer_->Flush();
        if (error != 0) Fail(Failure::kWrite, error);
    }
    return !Failed();
}

bool OutputChannel::Finish() {
    if (writer_ == nullptr) return !Failed();
    if (pending_) EndLine();
    const int error = writer_->Close();
    writer_.reset();
    if (error != 0) Fail(Failure::kClose, error);
    return !Failed();
}

bool OutputChannel::Commit() {
    Finish();
    if (temporary_.empty()) return !Failed();
    if (Failed()) {
        RemoveTemporary();
        return false;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        Fail(Failure::kReplace, errno);
        RemoveTemporary();
        return false;
    }
    temporary_.clear();
    return true;
}

bool OutputChannel::Close() {
    Finish();
    return Commit();
}

void OutputChannel::Abandon() {
    if (writer_ != nullptr) {
        writer_->Close();
        writer_.reset();
    }
    RemoveTemporary();
    record_.clear();
    position_ = 0;
    pending_ = false;
}

void OutputChannel::RemoveTemporary() {
    if (temporary_.empty()) return;
    ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace trevasc::report

#include "run/input_file.hpp"

#include <algorithm>
#include <cerrno>

namespace trevasc::run {

namespace {
constexpr std::size_t kChunkSize = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

InputFile::InputFile(std::string_view contents) : buffer_(contents) { Start(); }

bool InputFile::Open(const std::filesystem::path& path) {
    file_.reset(std::fopen(path.c_str(), "rb"));
    buffer_.clear();
    read_error_ = file_ ? 0 : errno;
    if (!file_) return false;
    Start();
    return true;
}

// Back to the first record: the text from its start, less a byte-order mark.
void InputFile::Start() {
    pos_ = 0;
    line_number_ = 0;
    line_.clear();
    too_long_ = false;
    if (file_) {
        std::rewind(file_.get());
        buffer_.clear();
        Fill();
    }
    holds_no_bytes_ = buffer_.empty();
    if (std::string_view(buffer_).substr(0, kByteOrderMark.size()) == kByteOrderMark) pos_ = kByteOrderMark.size();
}

// The next chunk of a file on disk; false at its end or on a read error.
bool InputFile::Fill() {
    if (!file_ || read_error_ != 0) return false;
    buffer_.resize(kChunkSize);
    const std::size_t got = std::fread(buffer_.data(), 1, kChunkSize, file_.get());
    if (got == 0 && std::ferror(file_.get())) read_error_ = errno != 0 ? errno : EIO;
    buffer_.resize(got);
    pos_ = 0;
    return got > 0;
}

bool InputFile::Available() { return pos_ < buffer_.size() || Fill(); }

bool InputFile::ReadRecord(std::string& record) {
    if (!ReadLine(record)) return false;
    if (record.size() > kRecordLength) record.resize(kRecordLength);
    return true;
}

bool InputFile::ReadLine(std::string& line) {
    if (!Available()) return false;
    line_.clear();
    too_long_ = false;
    for (;;) {
        if (pos_ == buffer_.size() && !Fill()) break;  // the last line has no line end
        const char* const begin = buffer_.data() + pos_;
        const char* const stop = buffer_.data() + buffer_.size();
        const char* const end = std::find_if(begin, stop, [](char c) { return c == '\n' || c == '\r'; });
        const std::size_t room = kMaxLineLength - line_.size();
        const std::size_t length = static_cast<std::size_t>(end - begin);
        line_.append(begin, std::min(length, room));
        if (length > room) too_long_ = true;
        pos_ += length;
        if (end == stop) continue;
        ++pos_;
        if (*end == '\r' && Available() && buffer_[pos_] == '\n') ++pos_;  // CRLF is one line end
        break;
    }
    ++line_number_;
    line = line_;
    return true;
}

void InputFile::Rewind() { Start(); }

bool InputFile::AtEnd() { return !Available(); }

}  // namespace trevasc::run

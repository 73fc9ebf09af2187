#include "report/output_channel.hpp"

namespace trevasc {

OutputChannel::~OutputChannel() { Close(); }

bool OutputChannel::Open(const std::filesystem::path& path) {
    Close();
    path_ = path;
    file_ = std::fopen(path.c_str(), "wb");
    record_.clear();
    position_ = 0;
    pending_ = false;
    return file_ != nullptr;
}

void OutputChannel::OpenInMemory() {
    Close();
    in_memory_ = true;
    memory_.clear();
    record_.clear();
    position_ = 0;
    pending_ = false;
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
    if (in_memory_) {
        memory_ += record_;
        memory_ += '\n';
    }
    if (file_ != nullptr) {
        std::fwrite(record_.data(), 1, record_.size(), file_);
        std::fputc('\n', file_);
    }
    record_.clear();
    position_ = 0;
    pending_ = false;
}

void OutputChannel::Line(std::string_view text) {
    Write(text);
    EndLine();
}

void OutputChannel::Blank(int count) {
    for (int i = 0; i < count; ++i) EndLine();
}

void OutputChannel::Rewind() {
    if (in_memory_) {
        memory_.clear();
        record_.clear();
        position_ = 0;
        pending_ = false;
    }
    if (file_ == nullptr) return;
    std::fclose(file_);
    file_ = std::fopen(path_.c_str(), "wb");
    record_.clear();
    position_ = 0;
    pending_ = false;
}

void OutputChannel::Close() {
    if (in_memory_) {
        if (pending_) EndLine();
        in_memory_ = false;
    }
    if (file_ == nullptr) return;
    if (pending_) EndLine();
    std::fclose(file_);
    file_ = nullptr;
}

}  // namespace trevasc

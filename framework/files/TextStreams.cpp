#include "framework/files/TextStreams.h"

#include "framework/files/Replacement.h"

namespace fw {

TextInputStream::TextInputStream(std::string bytes) : data_(std::move(bytes)) {}

std::string TextInputStream::ReadLine() {
  if (pos_ >= data_.size()) return {};
  const std::size_t end = data_.find_first_of("\r\n", pos_);
  if (end == std::string::npos) {
    std::string line = data_.substr(pos_);
    pos_ = data_.size();
    return line;
  }
  std::string line = data_.substr(pos_, end - pos_);
  pos_ = end + 1;
  if (data_[end] == '\r' && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  return line;
}

std::string TextInputStream::ReadAll() {
  if (pos_ >= data_.size()) return {};
  std::string rest = data_.substr(pos_);
  pos_ = data_.size();
  return rest;
}

bool TextInputStream::Eof() const { return pos_ >= data_.size(); }

void TextInputStream::Close() {
  data_.clear();
  data_.shrink_to_fit();
  pos_ = 0;
}

TextOutputStream::TextOutputStream(std::FILE* file) : file_(file), ok_(file != nullptr) {}

TextOutputStream::TextOutputStream(std::unique_ptr<detail::Replacement> replacement)
    : file_(replacement ? replacement->File() : nullptr),
      replacement_(std::move(replacement)),
      ok_(file_ != nullptr) {}

TextOutputStream::~TextOutputStream() { Close(); }

bool TextOutputStream::Write(const std::string& text) {
  if (file_ == nullptr) return false;
  if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
  return ok_;
}

bool TextOutputStream::WriteLine(const std::string& text) { return Write(text) && Write("\n"); }

bool TextOutputStream::Flush() {
  if (file_ == nullptr) return false;
  if (std::fflush(file_) != 0) ok_ = false;
  return ok_;
}

bool TextOutputStream::Close() {
  if (file_ == nullptr) return ok_;
  if (replacement_) {
    // A stream that failed on the way leaves the old file as it was.
    if (ok_) {
      ok_ = replacement_->Commit();
    } else {
      replacement_->Abandon();
    }
    replacement_.reset();
    file_ = nullptr;
    return ok_;
  }
  // Buffered bytes reach the disk here, so a full disk shows up now.
  if (std::fclose(file_) != 0) ok_ = false;
  file_ = nullptr;
  return ok_;
}

}  // namespace fw

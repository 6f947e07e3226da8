#include "framework/files/TextInputStream.h"

#include <utility>

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

}  // namespace fw

#include "framework/net/ChunkedDecoder.h"

#include <algorithm>

namespace fw {

namespace {

constexpr std::size_t kMaxLine = 4096;
// No body of this size is real; a larger chunk size is an attack or garbage.
constexpr std::uint64_t kMaxChunk = std::uint64_t{1} << 52;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A chunk-size line: blanks, hexadecimal digits, blanks, then nothing or
// ";" and extensions. False when the line is anything else.
bool ReadSize(const std::string& line, std::uint64_t& size) {
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  const std::size_t first = i;
  size = 0;
  for (; i < line.size() && HexValue(line[i]) >= 0; ++i) {
    if (size > (kMaxChunk >> 4)) return false;
    size = size * 16 + static_cast<std::uint64_t>(HexValue(line[i]));
  }
  if (i == first || size > kMaxChunk) return false;
  while (i < line.size() && IsBlank(line[i])) ++i;
  return i == line.size() || line[i] == ';';
}

}  // namespace

std::size_t ChunkedDecoder::Feed(std::string_view data, std::string& out) {
  std::size_t pos = 0;
  while (pos < data.size() && state_ == State::Reading) {
    if (expect_ == Expect::Data) {
      const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(left_, data.size() - pos));
      out.append(data.substr(pos, take));
      pos += take;
      left_ -= take;
      if (left_ == 0) expect_ = Expect::DataEnd;
      continue;
    }
    const std::size_t newline = data.find('\n', pos);
    const std::size_t end = newline == std::string_view::npos ? data.size() : newline;
    if (line_.size() + (end - pos) > kMaxLine) {
      state_ = State::Malformed;
      break;
    }
    line_.append(data.substr(pos, end - pos));
    if (newline == std::string_view::npos) {
      pos = data.size();
      break;
    }
    pos = newline + 1;
    if (!line_.empty() && line_.back() == '\r') line_.pop_back();
    LineRead();
    line_.clear();
  }
  return pos;
}

void ChunkedDecoder::LineRead() {
  switch (expect_) {
    case Expect::SizeLine: {
      std::uint64_t size = 0;
      if (!ReadSize(line_, size)) {
        state_ = State::Malformed;
      } else if (size == 0) {
        expect_ = Expect::Trailer;
      } else {
        left_ = size;
        expect_ = Expect::Data;
      }
      return;
    }
    case Expect::DataEnd:
      if (line_.empty()) {
        expect_ = Expect::SizeLine;
      } else {
        state_ = State::Malformed;  // the chunk was longer than it said
      }
      return;
    case Expect::Trailer:
      if (line_.empty()) state_ = State::Done;  // trailer lines themselves are not kept
      return;
    case Expect::Data:
      return;
  }
}

}  // namespace fw

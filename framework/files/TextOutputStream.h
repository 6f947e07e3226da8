#pragma once
// Text written to a file, as UTF-8 bytes; WriteLine ends a line with LF.
#include <cstdio>
#include <memory>
#include <string>

namespace fw {

namespace detail {
class Replacement;
}

class TextOutputStream {
 public:
  explicit TextOutputStream(std::FILE* file);
  // Writes the new bytes of a file that take its place when Close is called,
  // and only when every write has succeeded; destroyed unclosed, the stream
  // leaves the old file as it was.
  explicit TextOutputStream(std::unique_ptr<detail::Replacement> replacement);
  ~TextOutputStream();
  TextOutputStream(const TextOutputStream&) = delete;
  TextOutputStream& operator=(const TextOutputStream&) = delete;

  // False once a write has failed.
  bool Write(const std::string& text);
  bool WriteLine(const std::string& text);
  // Hands what has been written to the system, so that others reading the
  // file see it, and the stream can go on; false once a write has failed.
  bool Flush();
  bool Close();

 private:
  std::FILE* file_;
  std::unique_ptr<detail::Replacement> replacement_;
  bool ok_ = true;
};

}  // namespace fw

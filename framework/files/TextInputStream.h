#pragma once
// Text read from a file, as UTF-8 bytes; ReadLine accepts CR, LF or CR LF
// as a line end.
#include <cstddef>
#include <string>

namespace fw {

class TextInputStream {
 public:
  explicit TextInputStream(std::string bytes);
  // The next line without its line end; the empty text at the end.
  std::string ReadLine();
  std::string ReadAll();
  // True once every byte has been read. (Not named EOF: <cstdio> makes
  // that a macro.)
  bool Eof() const;
  void Close();

 private:
  std::string data_;
  std::size_t pos_ = 0;
};

}  // namespace fw

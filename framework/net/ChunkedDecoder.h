#pragma once
// Reads an HTTP body in the chunked transfer coding as it arrives, in pieces
// cut anywhere, and tells when it is complete: after the last chunk (size 0)
// and the blank line that ends its trailer lines. It is strict, since a
// reply that is cut short or garbled must never pass for a whole one: a
// chunk size that is not a hexadecimal number (optionally followed by ";"
// and extensions), that is negative or too large to be believed, a chunk
// not followed by its line end, or a line longer than 4096 bytes makes the
// body malformed. Lines may end in CR LF or in LF alone.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

class ChunkedDecoder {
 public:
  enum class State { Reading, Done, Malformed };

  // Decodes what it can of data and appends the body's own bytes to out.
  // Returns how many bytes of data belong to the coded body: all of them
  // while it is still being read; fewer when it ends or turns out malformed
  // inside data. Once done or malformed, it takes nothing more.
  std::size_t Feed(std::string_view data, std::string& out);

  State GetState() const { return state_; }
  bool Done() const { return state_ == State::Done; }
  bool Malformed() const { return state_ == State::Malformed; }

 private:
  enum class Expect { SizeLine, Data, DataEnd, Trailer };

  // A whole line has been read (without its line end).
  void LineRead();

  State state_ = State::Reading;
  Expect expect_ = Expect::SizeLine;
  std::string line_;        // the line read so far
  std::uint64_t left_ = 0;  // data bytes of the present chunk still to come
};

}  // namespace fw
